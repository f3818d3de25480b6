// Paths as bytes and as text: UTF-8 decodes as Qt decodes it, every other
// byte 0x80-0xFF becomes one lone surrogate, and the bytes always come back.

#include "flash/widget/LocalPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

namespace flash {
namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes += char(value);
    return bytes;
}

QString unitsOf(std::initializer_list<char16_t> units)
{
    QString text;
    for (const char16_t unit : units)
        text += QChar(unit);
    return text;
}

QString escaped(int byte)
{
    return QChar(char16_t(0xDC00 + byte));
}

bool hasEscapes(const QString& text)
{
    return std::ranges::any_of(text, [](QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; });
}

// The contract every byte string must keep: the bytes come back, and what
// decodes without escapes is exactly what Qt's decoder gives. (The 'x' in
// front keeps Qt from dropping a leading byte order mark.)
void expectRoundTripAgreeingWithQt(const QByteArray& tail)
{
    const QByteArray bytes = "x" + tail;
    const QString text = pathFromLocalBytes(bytes);
    ASSERT_EQ(localPathBytes(text), bytes) << tail.toHex(' ').constData();
    const QString qtText = QString::fromUtf8(bytes);
    if (hasEscapes(text))
        EXPECT_TRUE(qtText.contains(QChar::ReplacementCharacter)) << tail.toHex(' ').constData();
    else
        EXPECT_EQ(text, qtText) << tail.toHex(' ').constData();
}

TEST(LocalPathText, UTF8PathsAreExactlyWhatQtGives)
{
    for (const char* utf8 : {"", "/home/me/a.swf", "/tmp/影片 1.swf", "Zoë/ß.SWF", "/\xf0\x9f\x98\x80/😀.swf",
                             "\xef\xbf\xbf\xef\xbf\xbe", "\xf4\x8f\xbf\xbf", "\xc2\x80\xdf\xbf\xe0\xa0\x80", "a\xef\xbb\xbf"}) {
        const QByteArray bytes(utf8);
        EXPECT_EQ(pathFromLocalBytes(bytes), QString::fromUtf8(bytes)) << utf8;
        EXPECT_EQ(localPathBytes(QString::fromUtf8(bytes)), bytes) << utf8;
    }
}

TEST(LocalPathText, TextFromQtIsWrittenAsUTF8)
{
    const QString text = QStringLiteral("/媒体/Ünïcode 🎬.swf");
    EXPECT_EQ(localPathBytes(text), text.toUtf8());
}

TEST(LocalPathText, EachStrayByteBecomesItsOwnSurrogateAndComesBack)
{
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const QByteArray bytes = bytesOf({byte});
        ASSERT_EQ(pathFromLocalBytes(bytes), escaped(byte)) << byte;
        ASSERT_EQ(localPathBytes(escaped(byte)), bytes) << byte;
    }
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0x80})), unitsOf({0xDC80}));
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xFF})), unitsOf({0xDCFF}));
}

TEST(LocalPathText, MixedNamesKeepTheirValidPartsAsText)
{
    const QByteArray gbk = bytesOf({0xB2, 0xA5, 0xB7, 0xC5}) + ".swf";
    EXPECT_EQ(pathFromLocalBytes("/films/" + gbk),
              QStringLiteral("/films/") + escaped(0xB2) + escaped(0xA5) + escaped(0xB7) + escaped(0xC5)
                  + QStringLiteral(".swf"));

    const QByteArray mixed = QByteArray("影") + char(0xFF) + QByteArray("片") + char(0x80);
    const QString text = pathFromLocalBytes(mixed);
    EXPECT_EQ(text, QStringLiteral("影") + escaped(0xFF) + QStringLiteral("片") + escaped(0x80));
    EXPECT_EQ(localPathBytes(text), mixed);
}

TEST(LocalPathText, OverlongFormsAreEscapedByteByByte)
{
    // "/" spelt in two, three and four bytes, and NUL in two.
    for (const QByteArray& overlong : {bytesOf({0xC0, 0xAF}), bytesOf({0xE0, 0x80, 0xAF}),
                                       bytesOf({0xF0, 0x80, 0x80, 0xAF}), bytesOf({0xC1, 0xBF}), bytesOf({0xC0, 0x80})}) {
        QString expected;
        for (const char byte : overlong)
            expected += escaped(static_cast<unsigned char>(byte));
        EXPECT_EQ(pathFromLocalBytes(overlong), expected) << overlong.toHex(' ').constData();
        EXPECT_EQ(localPathBytes(expected), overlong);
    }
}

TEST(LocalPathText, ACutOffSequenceIsEscapedAndWhatFollowsStillDecodes)
{
    // "影" is E5 BD B1; "😀" is F0 9F 98 80.
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xE5, 0xBD})), escaped(0xE5) + escaped(0xBD));
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xE5, 0xBD, '/', 'a'})), escaped(0xE5) + escaped(0xBD) + QStringLiteral("/a"));
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xF0, 0x9F, 0x98, 0xE5, 0xBD, 0xB1})),
              escaped(0xF0) + escaped(0x9F) + escaped(0x98) + QStringLiteral("影"));
    // A lead byte followed by another lead byte.
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xC3, 0xC3, 0xA9})), escaped(0xC3) + QStringLiteral("é"));
}

TEST(LocalPathText, EncodedSurrogatesAndCodePointsPastTheLastAreEscaped)
{
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xED, 0xA0, 0x80})), escaped(0xED) + escaped(0xA0) + escaped(0x80));
    // The UTF-8 spelling of an escape itself stays bytes: it cannot be
    // mistaken for the byte the escape stands for.
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xED, 0xB2, 0x80})), escaped(0xED) + escaped(0xB2) + escaped(0x80));
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xF4, 0x90, 0x80, 0x80})),
              escaped(0xF4) + escaped(0x90) + escaped(0x80) + escaped(0x80));
    EXPECT_EQ(pathFromLocalBytes(bytesOf({0xF5, 0x80, 0x80, 0x80})),
              escaped(0xF5) + escaped(0x80) + escaped(0x80) + escaped(0x80));
}

TEST(LocalPathText, ALeadingByteOrderMarkIsKeptAsPartOfTheName)
{
    const QByteArray bytes = bytesOf({0xEF, 0xBB, 0xBF, 'a'});
    EXPECT_EQ(pathFromLocalBytes(bytes), unitsOf({0xFEFF, 'a'}));
    EXPECT_EQ(localPathBytes(pathFromLocalBytes(bytes)), bytes);
}

TEST(LocalPathText, SurrogatesThatNameNoByteAreWrittenAsTheReplacementCharacter)
{
    const QByteArray replacement = bytesOf({0xEF, 0xBF, 0xBD});
    EXPECT_EQ(localPathBytes(unitsOf({0xD800})), replacement);
    EXPECT_EQ(localPathBytes(unitsOf({0xDBFF, 'a'})), replacement + "a");
    EXPECT_EQ(localPathBytes(unitsOf({0xDC7F})), replacement);
    EXPECT_EQ(localPathBytes(unitsOf({0xDD00})), replacement);
    EXPECT_EQ(localPathBytes(unitsOf({0xDFFF})), replacement);
    // A paired surrogate is a character, not an escape.
    EXPECT_EQ(localPathBytes(unitsOf({0xD83D, 0xDE00})), QByteArray("\xf0\x9f\x98\x80"));
}

TEST(LocalPathText, EveryPairOfBytesRoundTripsAndAgreesWithQt)
{
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second)
            expectRoundTripAgreeingWithQt(bytesOf({first, second}));
    }
}

TEST(LocalPathText, EveryLeadAndSecondByteOfLongerSequencesRoundTripsAndAgreesWithQt)
{
    for (int lead = 0xC0; lead <= 0xFF; ++lead) {
        for (int second = 0; second < 256; ++second) {
            expectRoundTripAgreeingWithQt(bytesOf({lead, second, 0x80}));
            expectRoundTripAgreeingWithQt(bytesOf({lead, second, 0xBF, 0xBF}));
            expectRoundTripAgreeingWithQt(bytesOf({lead, second, 0x41, 0x80}));
        }
    }
}

} // namespace
} // namespace flash
