// The interface language: its stored value, the first-start rule and the language file.
#ifndef VELA_APP_SHELL_CLANGUAGECHOICE_H
#define VELA_APP_SHELL_CLANGUAGECHOICE_H

#include <QByteArray>
#include <QString>

class QLocale;
class QSettings;

/// Language values are Windows primary-language numbers: 16 Italian, 9 English, 7 German,
/// 12 French, 10 Spanish, ... Only 16 selects Italian; every other value shows English.
class CLanguageChoice
{
public:
    static constexpr int Unset = 65535;
    static constexpr int Italian = 16;
    static constexpr int English = 9;

    /// Name of the language file, written in the current directory.
    static QString LanguageFileName() { return QStringLiteral("VELA.ini"); }

    /// Windows primary-language number of a locale's language (0, neutral, when it has none).
    static int PrimaryLanguageOf(const QLocale &locale);
    /// Whether a stored value selects the Italian interface.
    static bool IsItalian(int language) { return language == Italian; }

    /// The stored value ("Language"/"Active"), Unset when none is stored.
    static int Stored(const QSettings &settings);
    /// The language of this start: the stored value; on the first start (none stored) the
    /// system language's number, which is then stored and the language file written.
    /// @param languageFilePath path of the language file (VELA.ini in the current directory).
    /// @return the language value; *fileWritten tells whether the file could be written.
    static int ChooseAtStart(QSettings &settings, const QLocale &systemLocale,
        const QString &languageFilePath, bool *fileWritten = nullptr);
    /// A language chosen in the menu: stores the value and rewrites the language file.
    /// Returns false when the file could not be written (the value is stored anyway).
    static bool StoreChoice(QSettings &settings, int language, const QString &languageFilePath);

    /// The bytes of the language file: a section line, then "Language=Italian" or
    /// "Language=English (US)", with no line end after the value.
    static QByteArray LanguageFileBytes(int language);
    /// Creates the language file anew. False when it cannot be written.
    static bool WriteLanguageFile(const QString &path, int language);
};

#endif // VELA_APP_SHELL_CLANGUAGECHOICE_H
