#include "framework/qt/QtText.h"

#include <optional>
#include <utility>

#include <QByteArray>

#include <algorithm>

#include "base/Cp932.h"

namespace quolix {
namespace {

// Bytes of the character that starts with this byte, by the CP932 lead-byte ranges.
size_t CharacterLength(unsigned char lead) {
    const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    return doubleByte ? 2 : 1;
}

QString FromUtf8(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QString QStringFromCp932(std::string_view cp932) {
    if (const std::optional<std::string> utf8 = Cp932ToUtf8(cp932)) {
        return FromUtf8(*utf8);
    }
    QString result;
    size_t pos = 0;
    while (pos < cp932.size()) {
        const size_t length =
            std::min(CharacterLength(static_cast<unsigned char>(cp932[pos])), cp932.size() - pos);
        if (const std::optional<std::string> piece = Cp932ToUtf8(cp932.substr(pos, length))) {
            result += FromUtf8(*piece);
            pos += length;
        } else {
            result += QChar(QChar::ReplacementCharacter);
            ++pos;
        }
    }
    return result;
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
