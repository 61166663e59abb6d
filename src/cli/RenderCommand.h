#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quolix::cli {

struct CliContext;

// quolix-cli render FILE.qlx -o OUT.png|OUT.pdf [--size WxH] [--page]: the
// graph drawn by the view's own drawing code into an image or a PDF. The
// drawing needs Qt, which the recorder must not even load, so this command
// only checks its arguments and hands over to the render helper
// (quolix-cli-render), which takes the same arguments.

enum class ImageFormat { Png, Pdf };

struct RenderOptions {
    static constexpr int32_t DefaultWidth = 800;
    static constexpr int32_t DefaultHeight = 600;
    // Large enough for any screen, small enough that the image fits in memory.
    static constexpr int32_t MinSide = 16;
    static constexpr int32_t MaxSide = 8192;

    std::string file;
    std::string output;
    ImageFormat format = ImageFormat::Png;
    int32_t width = DefaultWidth;
    int32_t height = DefaultHeight;
    // The printed page (300 dpi) instead of the window's picture.
    bool page = false;
};

std::string RenderUsage();
// Parses the arguments into options. Returns nothing when the command should
// go on, or the exit status to end with (help shown, or a wrong command line
// reported).
std::optional<int> ParseRenderOptions(const std::vector<std::string>& args, CliContext& context,
                                      RenderOptions& options);
// "WxH" with both sides in [MinSide, MaxSide].
bool ParseSize(const std::string& text, int32_t& width, int32_t& height);

// The arguments the helper is run with: the options as parsed, and the
// settings file that this tool uses.
std::vector<std::string> HelperArguments(const RenderOptions& options,
                                         const std::string& settingsPath);

// Parses, then replaces this process with the helper. Returns only when that
// could not happen.
int RenderMain(const std::vector<std::string>& args, CliContext& context);

}  // namespace quolix::cli
