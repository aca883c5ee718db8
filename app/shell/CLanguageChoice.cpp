#include "app/shell/CLanguageChoice.h"

#include <QLocale>
#include <QSaveFile>
#include <QSettings>

namespace {

const char *const ActiveKey = "Language/Active";

struct LanguageNumber
{
    QLocale::Language language;
    int number;
};

// Windows primary-language numbers (the low ten bits of a language identifier).
constexpr LanguageNumber LanguageNumbers[] = {
    { QLocale::Arabic, 0x01 },
    { QLocale::Bulgarian, 0x02 },
    { QLocale::Catalan, 0x03 },
    { QLocale::Chinese, 0x04 },
    { QLocale::Czech, 0x05 },
    { QLocale::Danish, 0x06 },
    { QLocale::German, 0x07 },
    { QLocale::Greek, 0x08 },
    { QLocale::English, 0x09 },
    { QLocale::Spanish, 0x0a },
    { QLocale::Finnish, 0x0b },
    { QLocale::French, 0x0c },
    { QLocale::Hebrew, 0x0d },
    { QLocale::Hungarian, 0x0e },
    { QLocale::Icelandic, 0x0f },
    { QLocale::Italian, 0x10 },
    { QLocale::Japanese, 0x11 },
    { QLocale::Korean, 0x12 },
    { QLocale::Dutch, 0x13 },
    { QLocale::NorwegianBokmal, 0x14 },
    { QLocale::NorwegianNynorsk, 0x14 },
    { QLocale::Polish, 0x15 },
    { QLocale::Portuguese, 0x16 },
    { QLocale::Romansh, 0x17 },
    { QLocale::Romanian, 0x18 },
    { QLocale::Russian, 0x19 },
    { QLocale::Croatian, 0x1a },
    { QLocale::Serbian, 0x1a },
    { QLocale::Bosnian, 0x1a },
    { QLocale::Slovak, 0x1b },
    { QLocale::Albanian, 0x1c },
    { QLocale::Swedish, 0x1d },
    { QLocale::Thai, 0x1e },
    { QLocale::Turkish, 0x1f },
    { QLocale::Urdu, 0x20 },
    { QLocale::Indonesian, 0x21 },
    { QLocale::Ukrainian, 0x22 },
    { QLocale::Belarusian, 0x23 },
    { QLocale::Slovenian, 0x24 },
    { QLocale::Estonian, 0x25 },
    { QLocale::Latvian, 0x26 },
    { QLocale::Lithuanian, 0x27 },
    { QLocale::Tajik, 0x28 },
    { QLocale::Persian, 0x29 },
    { QLocale::Vietnamese, 0x2a },
    { QLocale::Armenian, 0x2b },
    { QLocale::Azerbaijani, 0x2c },
    { QLocale::Basque, 0x2d },
    { QLocale::LowerSorbian, 0x2e },
    { QLocale::UpperSorbian, 0x2e },
    { QLocale::Macedonian, 0x2f },
    { QLocale::Tswana, 0x32 },
    { QLocale::Xhosa, 0x34 },
    { QLocale::Zulu, 0x35 },
    { QLocale::Afrikaans, 0x36 },
    { QLocale::Georgian, 0x37 },
    { QLocale::Faroese, 0x38 },
    { QLocale::Hindi, 0x39 },
    { QLocale::Maltese, 0x3a },
    { QLocale::NorthernSami, 0x3b },
    { QLocale::Irish, 0x3c },
    { QLocale::Malay, 0x3e },
    { QLocale::Kazakh, 0x3f },
    { QLocale::Kyrgyz, 0x40 },
    { QLocale::Swahili, 0x41 },
    { QLocale::Turkmen, 0x42 },
    { QLocale::Uzbek, 0x43 },
    { QLocale::Tatar, 0x44 },
    { QLocale::Bangla, 0x45 },
    { QLocale::Punjabi, 0x46 },
    { QLocale::Gujarati, 0x47 },
    { QLocale::Odia, 0x48 },
    { QLocale::Tamil, 0x49 },
    { QLocale::Telugu, 0x4a },
    { QLocale::Kannada, 0x4b },
    { QLocale::Malayalam, 0x4c },
    { QLocale::Assamese, 0x4d },
    { QLocale::Marathi, 0x4e },
    { QLocale::Sanskrit, 0x4f },
    { QLocale::Mongolian, 0x50 },
    { QLocale::Tibetan, 0x51 },
    { QLocale::Welsh, 0x52 },
    { QLocale::Khmer, 0x53 },
    { QLocale::Lao, 0x54 },
    { QLocale::Galician, 0x56 },
    { QLocale::Konkani, 0x57 },
    { QLocale::Sindhi, 0x59 },
    { QLocale::Syriac, 0x5a },
    { QLocale::Sinhala, 0x5b },
    { QLocale::Amharic, 0x5e },
    { QLocale::Nepali, 0x61 },
    { QLocale::WesternFrisian, 0x62 },
    { QLocale::Pashto, 0x63 },
    { QLocale::Filipino, 0x64 },
    { QLocale::Divehi, 0x65 },
    { QLocale::Hausa, 0x68 },
    { QLocale::Yoruba, 0x6a },
    { QLocale::Quechua, 0x6b },
    { QLocale::Luxembourgish, 0x6e },
    { QLocale::Kalaallisut, 0x6f },
    { QLocale::Igbo, 0x70 },
    { QLocale::Breton, 0x7e },
    { QLocale::Uyghur, 0x80 },
    { QLocale::Occitan, 0x82 },
    { QLocale::Corsican, 0x83 },
    { QLocale::Kinyarwanda, 0x87 },
    { QLocale::Wolof, 0x88 },
    { QLocale::Gaelic, 0x91 },
    { QLocale::CentralKurdish, 0x92 },
};

} // namespace

int CLanguageChoice::PrimaryLanguageOf(const QLocale &locale)
{
    for (const LanguageNumber &entry : LanguageNumbers) {
        if (entry.language == locale.language())
            return entry.number;
    }
    return 0;
}

int CLanguageChoice::Stored(const QSettings &settings)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(ActiveKey), Unset).toInt(&ok);
    return ok ? value : Unset;
}

int CLanguageChoice::ChooseAtStart(QSettings &settings, const QLocale &systemLocale,
    const QString &languageFilePath, bool *fileWritten)
{
    int language = Stored(settings);
    bool written = true;
    if (language == Unset) {
        language = PrimaryLanguageOf(systemLocale);
        settings.setValue(QLatin1String(ActiveKey), language);
        written = WriteLanguageFile(languageFilePath, language);
    }
    if (fileWritten)
        *fileWritten = written;
    return language;
}

bool CLanguageChoice::StoreChoice(
    QSettings &settings, int language, const QString &languageFilePath)
{
    settings.setValue(QLatin1String(ActiveKey), language);
    return WriteLanguageFile(languageFilePath, language);
}

QByteArray CLanguageChoice::LanguageFileBytes(int language)
{
    QByteArray bytes("[VELA]\r\nLanguage=");
    bytes += IsItalian(language) ? "Italian" : "English (US)";
    return bytes;
}

bool CLanguageChoice::WriteLanguageFile(const QString &path, int language)
{
    // Written to a temporary file and renamed, so a failed write never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(LanguageFileBytes(language));
    return file.commit();
}
