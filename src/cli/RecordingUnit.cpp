#include "cli/RecordingUnit.h"

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordingMetadata.h"
#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "settings/SettingsRecord.h"

namespace quolix::cli {

namespace {

std::string CountText(int32_t resolution) {
    return "読み値 1 カウントを " + std::to_string(recordingmeta::HzPerCount(resolution)) +
           " Hz とします";
}

}  // namespace

int32_t ReadingResolution(const CQuolixDoc& doc, const std::string& path,
                          std::optional<int32_t> given, const CliContext& context) {
    const RecordingMetadata metadata = recordingmeta::Read(doc.comments);
    if (metadata.countHz != 0) {
        const int32_t own = recordingmeta::ResolutionFor(metadata.countHz);
        std::string text = CountText(own) + " (記録ファイルの注釈5 による)。";
        if (given && *given != own) {
            text += "--resolution " + std::to_string(*given) + " は使いません。";
        }
        context.reporter.Say(path, text);
        return own;
    }
    if (given) {
        context.reporter.Say(path, "記録ファイルに単位の記録がないため、" + CountText(*given) +
                                       " (--resolution による)。");
        return *given;
    }
    SettingsRecord settings;
    LoadSettings(context, settings);
    const int32_t resolution = settings.Int(SettingsRecord::Resolution);
    if (recordingmeta::HzPerCount(resolution) != 0) {
        context.reporter.Say(path, "記録ファイルに単位の記録がないため、" + CountText(resolution) +
                                       " (設定のスロット 17 による)。");
    }
    return resolution;
}

}  // namespace quolix::cli
