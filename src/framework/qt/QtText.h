#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace quolix {

// Where CP932 text meets Qt's UTF-16.

// For display: bytes that are not valid CP932 become U+FFFD each, so a damaged
// file still shows everything that can be read.
QString QStringFromCp932(std::string_view cp932);

// For input: false (out left empty) when the text holds a character CP932
// cannot represent; such input is refused, never altered.
bool QStringToCp932(const QString& text, std::string& out);
bool QStringFitsCp932(const QString& text);

}  // namespace quolix
