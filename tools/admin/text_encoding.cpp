#include "tools/admin/text_encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

namespace admin {
namespace {

// Windows' Shift_JIS, code page 932, through the toolkit's ICU-backed converter: the NEC and
// IBM additions (①, Ⅰ, ㈱, 髙) are in it, and its bytes decode to the characters Windows
// reads, so a file exported and imported again reads as a spreadsheet shows it.
constexpr const char* kShiftJis = "windows-31j";

// Characters that the JIS mapping of Shift_JIS gives for bytes that Windows reads as others:
// each is written as the character Windows reads from the same bytes. Everything else that
// code page 932 lacks is refused.
constexpr std::pair<char16_t, char16_t> kJisToWindows[] = {
    {u'\u301C', u'\uFF5E'},  // 〜 wave dash: ～
    {u'\u2212', u'\uFF0D'},  // − minus sign: －
    {u'\u2016', u'\u2225'},  // ‖ double vertical line: ∥
    {u'\u00A2', u'\uFFE0'},  // ¢: ￠
    {u'\u00A3', u'\uFFE1'},  // £: ￡
    {u'\u00AC', u'\uFFE2'},  // ¬: ￢
    {u'\u2014', u'\u2015'},  // — em dash: ― horizontal bar
    {u'\u00A6', u'\uFFE4'},  // ¦ broken bar: ￤ (an IBM addition)
};

QString inWindowsForms(QString text) {
    for (QChar& c : text) {
        for (const auto& [jis, windows] : kJisToWindows) {
            if (c == QChar(jis)) {
                c = QChar(windows);
            }
        }
    }
    return text;
}

QStringEncoder encoder(Encoding encoding) {
    return encoding == Encoding::Utf8 ? QStringEncoder(QStringConverter::Utf8)
                                      : QStringEncoder(kShiftJis);
}

QStringDecoder decoder(Encoding encoding) {
    // The mark is dropped below, by hand, so a U+FEFF inside the text is kept.
    return encoding == Encoding::Utf8
               ? QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
               : QStringDecoder(kShiftJis, QStringConverter::Flag::ConvertInitialBom);
}

}  // namespace

std::optional<Encoding> encodingNamed(const QString& name) {
    QString key = name.toLower();
    key.replace(u'-', u'_');
    if (key == QLatin1String("utf_8") || key == QLatin1String("utf8")) {
        return Encoding::Utf8;
    }
    if (key == QLatin1String("shift_jis") || key == QLatin1String("sjis") ||
        key == QLatin1String("cp932") || key == QLatin1String("windows_31j")) {
        return Encoding::ShiftJis;
    }
    return std::nullopt;
}

const char* encodingName(Encoding encoding) {
    return encoding == Encoding::Utf8 ? "UTF-8" : "Shift_JIS";
}

Encoding encodingOption(const Arguments& arguments) {
    const QString name = arguments.option(QStringLiteral("--encoding"), QStringLiteral("utf-8"));
    const std::optional<Encoding> encoding = encodingNamed(name);
    if (!encoding) {
        throw UsageError(
            Text::tr("unknown encoding %1 (utf-8, or shift_jis, cp932, windows-31j)").arg(name));
    }
    return *encoding;
}

QByteArray encodeText(const QString& given, Encoding encoding, std::vector<char32_t>& unencodable) {
    const QString text = encoding == Encoding::ShiftJis ? inWindowsForms(given) : given;
    QStringEncoder whole = encoder(encoding);
    QByteArray bytes = whole(text);
    if (!whole.hasError()) {
        return bytes;
    }
    // Find the characters: one character at a time, each with a fresh converter (a converter
    // keeps its error once it had one).
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const QString one = text.mid(i, width);
        QStringEncoder single = encoder(encoding);
        const QByteArray ignored = single(one);
        if (single.hasError()) {
            unencodable.push_back(one.toUcs4().value(0));
        }
        i += width;
    }
    if (unencodable.empty()) {
        unencodable.push_back(QChar::ReplacementCharacter);
    }
    return bytes;
}

QByteArray byteOrderMark(Encoding encoding) {
    return encoding == Encoding::Utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
}

Decoded decodeFile(const QByteArray& bytes, Encoding encoding) {
    QByteArrayView body(bytes);
    if (encoding == Encoding::Utf8 && body.startsWith("\xEF\xBB\xBF")) {
        body = body.sliced(3);
    }
    Decoded decoded;
    QStringDecoder whole = decoder(encoding);
    decoded.text = whole(body);
    if (!whole.hasError()) {
        return decoded;
    }
    // Neither encoding uses the byte of a line feed inside a character, so the file can be
    // decoded line by line to find the bad lines.
    int line = 1;
    for (qsizetype start = 0; start <= body.size(); ++line) {
        qsizetype end = body.indexOf('\n', start);
        if (end < 0) {
            end = body.size();
        }
        QStringDecoder one = decoder(encoding);
        const QString ignored = one(body.sliced(start, end - start));
        if (one.hasError()) {
            decoded.badLines.push_back(line);
        }
        start = end + 1;
    }
    return decoded;
}

QString codePointText(char32_t c) {
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace admin
