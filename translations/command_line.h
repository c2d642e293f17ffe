#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// The language the command lines of both programs speak: Japanese under a Japanese locale,
// English (the texts' own language) otherwise. The windows are not translated.
namespace translations {

// Whether the locale that chooses the language of messages is Japanese: the first of
// LC_ALL, LC_MESSAGES and LANG that is set, as the C library reads them; where none is set
// (Windows), the system's own user-interface language.
inline bool commandLineIsJapanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            return value.startsWith(QLatin1String("ja"));
        }
    }
    return QLocale::system().uiLanguages().value(0).startsWith(QLatin1String("ja"));
}

// Loads the program's compiled Japanese texts (":/i18n/<name>_ja.qm", built into the program)
// when the command line speaks Japanese. Returns whether translator now holds them.
inline bool loadCommandLineTexts(QTranslator& translator, const QString& name) {
    return commandLineIsJapanese() && translator.load(QStringLiteral(":/i18n/%1_ja.qm").arg(name));
}

}  // namespace translations
