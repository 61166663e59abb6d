#include "framework/qt/QtText.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QByteArray>

#include "base/Cp932.h"

namespace quolix {

QString QStringFromCp932(std::string_view cp932) {
    // CP932's single bytes below 0x80 are ASCII; most drawn texts are only
    // those and need no converter.
    if (std::all_of(cp932.begin(), cp932.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) < 0x80; })) {
        return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
    }
    const std::string utf8 = Cp932ToUtf8Lossy(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool QStringToCp932(const QString& text, std::string& out) {
    out.clear();
    // Qt would encode a lone surrogate as '?'; refuse it instead of altering it.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return false;
        }
    }
    const QByteArray utf8 = text.toUtf8();
    std::optional<std::string> converted =
        Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    if (!converted) {
        return false;
    }
    out = std::move(*converted);
    return true;
}

bool QStringFitsCp932(const QString& text) {
    std::string ignored;
    return QStringToCp932(text, ignored);
}

}  // namespace quolix
