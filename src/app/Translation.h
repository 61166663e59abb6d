#pragma once

class QTranslator;

namespace quolix::app {

// Loads Qt's own Japanese translation into the translator and installs it, so
// that the framework's dialogs and buttons speak Japanese like the rest of
// the program. False when the translation is not installed.
bool InstallJapaneseTranslation(QTranslator& translator);

// Makes Japanese (Japan) the default locale, so that what Qt formats itself
// (dates, sizes and types in the file and print dialogs, numbers) is Japanese
// like the rest of the program, whatever the system's locale is.
void UseJapaneseLocale();

}  // namespace quolix::app
