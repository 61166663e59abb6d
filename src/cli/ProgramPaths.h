#pragma once

#include <string>
#include <vector>

namespace quolix::cli {

// Where the tool finds its companions: the desktop application's settings
// file beside it, and the render helper.

inline constexpr const char* RenderHelperName = "quolix-cli-render";

// The folder of the running executable; empty when it cannot be read.
std::string ProgramFolder();

// The settings file of the desktop application "quolix" in folder, so that
// both programs share one configuration; empty for an empty folder.
std::string SettingsPathIn(const std::string& folder);

// Where the render helper may be, in the order to try: beside the tool (the
// build tree, or an installation that keeps it there), then the
// installation's private folder for helpers.
std::vector<std::string> RenderHelperCandidates(const std::string& folder);

}  // namespace quolix::cli
