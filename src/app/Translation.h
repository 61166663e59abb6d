#pragma once

class QTranslator;

namespace quolix::app {

// Loads Qt's own Japanese translation into the translator and installs it, so
// that the framework's dialogs and buttons speak Japanese like the rest of
// the program. False when the translation is not installed.
bool InstallJapaneseTranslation(QTranslator& translator);

}  // namespace quolix::app
