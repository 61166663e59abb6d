#include "framework/qt/QtDeviceContext.h"

#include <functional>
#include <ostream>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QStringList>

#include <gtest/gtest.h>

namespace quolix {
namespace {

// "ＭＳ Ｐゴシック" and "ﾚﾃﾞｨ" as the drawing code holds them: CP932 bytes.
const std::string Face = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const std::string Ready = "\xDA\xC3\xDE\xA8";
constexpr int32_t Dpi = 96;

QImage Render(const QSize& size, const QColor& fill,
              const std::function<void(DeviceContext&)>& draw, int imageDpi = Dpi) {
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(imageDpi / 0.0254));
    image.setDotsPerMeterY(qRound(imageDpi / 0.0254));
    image.fill(fill);
    QPainter painter(&image);
    {
        QtDeviceContext dc(painter, Dpi);
        draw(dc);
    }
    painter.end();
    return image;
}

// Bounding box of the pixels that satisfy the predicate; empty when none do.
QRect Extent(const QImage& image, const std::function<bool(QRgb)>& wanted) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (wanted(image.pixel(x, y))) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

bool IsDark(QRgb pixel) {
    return qGray(pixel) < 128;
}
bool IsLight(QRgb pixel) {
    return qGray(pixel) >= 128;
}
bool IsRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

int CountInColumn(const QImage& image, int x, const std::function<bool(QRgb)>& wanted) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        count += wanted(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

constexpr Colour Red = 0x0000FF;  // 0x00BBGGRR

TEST(QtDeviceContextLines, HairlineLiesExactlyOnItsRow) {
    const QImage image = Render(QSize(200, 60), Qt::white, [](DeviceContext& dc) {
        dc.SelectPen(Pen{0, Red});
        dc.MoveTo(10, 20);
        dc.LineTo(150, 20);
    });
    for (int x = 10; x < 150; ++x) {
        EXPECT_TRUE(IsRed(image.pixel(x, 20))) << "x " << x;
    }
    EXPECT_FALSE(IsRed(image.pixel(5, 20)));
    EXPECT_FALSE(IsRed(image.pixel(160, 20)));
    EXPECT_EQ(CountInColumn(image, 80, IsRed), 1);
    EXPECT_EQ(Extent(image, IsRed).top(), 20);
}

TEST(QtDeviceContextLines, WidePenCoversItsWidthAcrossTheLine) {
    const QImage image = Render(QSize(200, 60), Qt::white, [](DeviceContext& dc) {
        dc.SelectPen(Pen{5, Red});
        dc.MoveTo(10, 30);
        dc.LineTo(150, 30);
    });
    EXPECT_EQ(CountInColumn(image, 80, IsRed), 5);
    EXPECT_TRUE(IsRed(image.pixel(80, 28)));
    EXPECT_TRUE(IsRed(image.pixel(80, 32)));
}

TEST(QtDeviceContextLines, LineToContinuesFromTheCurrentPosition) {
    const QImage image = Render(QSize(100, 100), Qt::white, [](DeviceContext& dc) {
        dc.SelectPen(Pen{0, Red});
        dc.MoveTo(10, 10);
        dc.LineTo(50, 10);
        dc.LineTo(50, 70);
        dc.MoveTo(80, 20);
        dc.LineTo(80, 40);
    });
    EXPECT_TRUE(IsRed(image.pixel(30, 10)));
    EXPECT_TRUE(IsRed(image.pixel(50, 40)));
    EXPECT_TRUE(IsRed(image.pixel(80, 30)));
    // MoveTo draws nothing between (50, 70) and (80, 20).
    EXPECT_FALSE(IsRed(image.pixel(65, 45)));
    EXPECT_EQ(Extent(image, IsRed), QRect(QPoint(10, 10), QPoint(80, 70)));
}

TEST(QtDeviceContextLines, DefaultPenIsABlackHairline) {
    const QImage image = Render(QSize(100, 40), Qt::white, [](DeviceContext& dc) {
        dc.MoveTo(10, 20);
        dc.LineTo(90, 20);
    });
    EXPECT_EQ(image.pixel(50, 20), qRgb(0, 0, 0));
    EXPECT_EQ(CountInColumn(image, 50, IsDark), 1);
}

struct ColourCase {
    Colour colour;
    QColor expected;
};
void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << std::hex << "0x" << c.colour;
}

class QtColourTest : public testing::TestWithParam<ColourCase> {};

TEST_P(QtColourTest, ColourIsReadAsBlueGreenRed) {
    EXPECT_EQ(QColorFor(GetParam().colour), GetParam().expected);
    const QImage image = Render(QSize(40, 20), Qt::white, [](DeviceContext& dc) {
        dc.SelectPen(Pen{0, GetParam().colour});
        dc.MoveTo(5, 10);
        dc.LineTo(35, 10);
    });
    EXPECT_EQ(QColor(image.pixel(20, 10)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Colours, QtColourTest,
                         testing::Values(ColourCase{0x0000FF, QColor(255, 0, 0)},
                                         ColourCase{0x00FF00, QColor(0, 255, 0)},
                                         ColourCase{0xFF0000, QColor(0, 0, 255)},
                                         ColourCase{0x123456, QColor(0x56, 0x34, 0x12)},
                                         ColourCase{0x000000, QColor(0, 0, 0)}));

TEST(QtDeviceContextPens, NonPositiveWidthIsCosmetic) {
    EXPECT_TRUE(QPenFor(Pen{0, 0}).isCosmetic());
    EXPECT_TRUE(QPenFor(Pen{-3, 0}).isCosmetic());
    const QPen wide = QPenFor(Pen{6, Red});
    EXPECT_FALSE(wide.isCosmetic());
    EXPECT_EQ(wide.width(), 6);
    EXPECT_EQ(wide.style(), Qt::SolidLine);
}

TEST(QtDeviceContextSelection, SelectReturnsWhatWasSelectedBefore) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QtDeviceContext dc(painter, Dpi);
    const Pen first{2, 0x0000FF};
    const Pen second{0, 0x00FF00};
    EXPECT_EQ(dc.SelectPen(first), Pen{});
    EXPECT_EQ(dc.SelectPen(second), first);
    EXPECT_EQ(dc.SelectPen(first), second);
    const Font big{450, Face};
    const Font small{100, Face};
    EXPECT_EQ(dc.SelectFont(big), Font{});
    EXPECT_EQ(dc.SelectFont(small), big);
    EXPECT_EQ(dc.SelectFont(Font{}), small);
}

TEST(QtDeviceContextSelection, PainterStateComesBackAfterwards) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3);
    painter.setPen(pen);
    painter.setBackground(QBrush(Qt::blue));
    {
        QtDeviceContext dc(painter, Dpi);
        dc.SelectPen(Pen{1, Red});
        dc.SelectFont(Font{200, Face});
        dc.TextOut(0, 0, "A");
        EXPECT_EQ(painter.background().color(), QColor(Qt::white));
    }
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.background().color(), QColor(Qt::blue));
}

struct HeightCase {
    int32_t sizeTenths;
    int32_t dpi;
    int32_t pixels;
};
void PrintTo(const HeightCase& c, std::ostream* os) {
    *os << c.sizeTenths << " tenths at " << c.dpi << " dpi";
}

class QtFontHeightTest : public testing::TestWithParam<HeightCase> {};

TEST_P(QtFontHeightTest, HeightIsDpiTimesSizeOver720Truncated) {
    const HeightCase& c = GetParam();
    EXPECT_EQ(FontPixelHeight(c.sizeTenths, c.dpi), c.pixels);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QtDeviceContext dc(painter, c.dpi);
    EXPECT_EQ(dc.FontHeight(Font{c.sizeTenths, Face}), c.pixels);
    if (c.pixels > 0) {
        EXPECT_EQ(QFontFor(Font{c.sizeTenths, Face}, c.dpi).pixelSize(), c.pixels);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, QtFontHeightTest,
                         testing::Values(HeightCase{100, 96, 13},  // 13.33
                                         HeightCase{95, 96, 12},   // 12.67
                                         HeightCase{450, 96, 60}, HeightCase{120, 120, 20},
                                         HeightCase{125, 144, 25}, HeightCase{-100, 96, 13},
                                         HeightCase{7, 96, 0}));

TEST(QtDeviceContextFonts, FaceNameIsKeptAsTheFamily) {
    const QFont font = QFontFor(Font{100, Face}, Dpi);
    EXPECT_EQ(font.family(), QString::fromUtf8("ＭＳ Ｐゴシック"));
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_FALSE(font.bold());
    EXPECT_FALSE(font.italic());
}

TEST(QtDeviceContextFonts, FaceIsSubstitutedByAJapaneseGothicThatHoldsHalfWidthKana) {
    const QFont font = QFontFor(Font{100, Face}, Dpi);
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == "IPAPGothic" || family == "Noto Sans CJK JP") << family.toStdString();
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    for (const QChar c : QString::fromUtf8("ﾚﾃﾞｨ")) {
        EXPECT_TRUE(raw.supportsCharacter(c)) << static_cast<int>(c.unicode());
    }
}

TEST(QtDeviceContextFonts, InstallingTheSubstitutionsTwiceKeepsOneOrder) {
    InstallFontSubstitutions();
    InstallFontSubstitutions();
    // Qt keeps the names in lower case.
    EXPECT_EQ(QFont::substitutes(QString::fromUtf8("ＭＳ Ｐゴシック")),
              QStringList({"ipapgothic", "noto sans cjk jp"}));
}

const Font TextFont{160, Face};  // 21 pixels at 96 dpi

TEST(QtDeviceContextText, TextHangsBelowAndRightOfItsPoint) {
    const QImage image = Render(QSize(200, 100), Qt::white, [](DeviceContext& dc) {
        dc.SelectFont(TextFont);
        dc.TextOut(20, 30, Ready);
    });
    const QRect ink = Extent(image, IsDark);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.top(), 30);
    EXPECT_LE(ink.top(), 30 + 21 / 2);
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.left(), 20 + 6);
    EXPECT_LE(ink.bottom(), 30 + 2 * 21);
}

// A page image is drawn under a translation to the printable corner: the
// glyphs must move with their cell and the lines.
TEST(QtDeviceContextText, TextFollowsThePainterTranslationLikeTheLines) {
    const auto draw = [](QPoint offset) {
        QImage image(300, 150, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(offset);
        QtDeviceContext dc(painter, Dpi);
        dc.SelectFont(TextFont);
        dc.TextOut(20, 30, Ready);
        return image;
    };
    const QRect plain = Extent(draw(QPoint(0, 0)), IsDark);
    const QRect moved = Extent(draw(QPoint(42, 42)), IsDark);
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_EQ(moved, plain.translated(42, 42));
}

TEST(QtDeviceContextText, TextBoxIsOpaqueWhiteFromItsPoint) {
    const QImage image = Render(QSize(200, 100), Qt::black, [](DeviceContext& dc) {
        dc.SelectFont(TextFont);
        dc.TextOut(20, 30, Ready);
    });
    const QRect box = Extent(image, IsLight);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_EQ(box.top(), 30);
    EXPECT_EQ(box.left(), 20);
    EXPECT_GE(box.height(), 21);
    EXPECT_LE(box.height(), 2 * 21);
    EXPECT_GT(box.width(), 21);  // four half-width characters
    // Mostly white: the box is filled, not just the strokes.
    int light = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            light += IsLight(image.pixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(light, box.width() * box.height() * 6 / 10);
}

TEST(QtDeviceContextText, TextIsBlackWhateverPenIsSelectedAndLinesKeepThePen) {
    const QImage image = Render(QSize(200, 100), Qt::white, [](DeviceContext& dc) {
        dc.SelectPen(Pen{0, Red});
        dc.SelectFont(TextFont);
        dc.TextOut(20, 10, Ready);
        dc.MoveTo(10, 80);
        dc.LineTo(190, 80);
    });
    // Ink without red: the text, not the line.
    const QRect ink = Extent(image, [](QRgb p) { return qRed(p) < 128; });
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.bottom(), 60);
    EXPECT_EQ(Extent(image, IsRed).top(), 80);
    bool blackPixel = false;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        for (int x = ink.left(); x <= ink.right(); ++x) {
            blackPixel = blackPixel || qGray(image.pixel(x, y)) < 40;
        }
    }
    EXPECT_TRUE(blackPixel);
}

TEST(QtDeviceContextText, PrinterResolutionDoesNotScaleTheFont) {
    const auto draw = [](DeviceContext& dc) {
        dc.SelectFont(TextFont);
        dc.TextOut(10, 10, Ready);
    };
    const QRect screen = Extent(Render(QSize(300, 200), Qt::white, draw, 96), IsDark);
    const QRect paper = Extent(Render(QSize(300, 200), Qt::white, draw, 300), IsDark);
    ASSERT_FALSE(screen.isEmpty());
    EXPECT_EQ(paper, screen);
}

// A window's context skips a text its image still shows as drawn; a text that
// changed, or that a line or another text went over, is drawn again.
TEST(QtDeviceContextText, AWindowRedrawsOnlyTextsWhosePixelsMayHaveChanged) {
    QImage image(QSize(200, 60), QImage::Format_RGB32);
    image.fill(Qt::white);
    QtFontCache fonts;
    DrawnTextMemory texts;
    // Draws through a window's context; the area it drew on.
    const auto draw = [&](const std::function<void(DeviceContext&)>& steps) {
        QPainter painter(&image);
        QtDeviceContext dc(painter, Dpi, &fonts, &texts);
        dc.SelectFont(Font{120, Face});
        steps(dc);
        return dc.DrawnArea();
    };
    const auto reading = [](DeviceContext& dc) { dc.TextOut(10, 10, "12.345kHz"); };
    EXPECT_FALSE(draw(reading).isEmpty());
    const QImage first = image;
    EXPECT_TRUE(draw(reading).isEmpty());
    EXPECT_FALSE(draw([](DeviceContext& dc) { dc.TextOut(10, 10, "12.346kHz"); }).isEmpty());
    EXPECT_FALSE(draw(reading).isEmpty());
    EXPECT_TRUE(image == first);

    draw([](DeviceContext& dc) {
        dc.SelectPen(Pen{0, Red});
        dc.MoveTo(12, 15);
        dc.LineTo(20, 15);
    });
    EXPECT_FALSE(draw(reading).isEmpty());
    EXPECT_TRUE(image == first);
    draw([](DeviceContext& dc) { dc.TextOut(15, 12, "-"); });
    EXPECT_FALSE(draw(reading).isEmpty());
    EXPECT_TRUE(image == first);
}

// What a window shows again after a tick: the new graph segment and the
// readout, not the whole stretch between them.
TEST(QtDeviceContextText, TheDrawnAreaHoldsEachDrawingButNotTheSpaceBetween) {
    QImage image(QSize(400, 300), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtDeviceContext dc(painter, Dpi);
    dc.SelectFont(Font{120, Face});
    dc.TextOut(10, 10, "12.345kHz");
    dc.MoveTo(350, 250);
    dc.LineTo(360, 280);
    const QRegion drawn = dc.DrawnArea();
    EXPECT_TRUE(drawn.contains(QPoint(12, 12)));
    EXPECT_TRUE(drawn.contains(QPoint(350, 250)));
    EXPECT_TRUE(drawn.contains(QPoint(360, 280)));
    EXPECT_FALSE(drawn.contains(QPoint(200, 150)));
}

TEST(QtDeviceContextText, EmptyTextDrawsNothing) {
    const QImage image = Render(QSize(50, 50), Qt::black, [](DeviceContext& dc) {
        dc.SelectFont(TextFont);
        dc.TextOut(10, 10, "");
    });
    EXPECT_TRUE(Extent(image, IsLight).isEmpty());
}

TEST(QtDeviceContextText, UndecodableBytesStillDrawTheRest) {
    const QImage image = Render(QSize(200, 60), Qt::black, [](DeviceContext& dc) {
        dc.SelectFont(TextFont);
        dc.TextOut(10, 10, "AB\x82");
    });
    // The opaque box is as wide as "AB" and one replacement character in the
    // same font, so neither the decodable part nor the mark went missing.
    const QFontMetrics metrics(QFontFor(TextFont, Dpi));
    const int expected = metrics.horizontalAdvance(QStringLiteral("AB") + QChar(0xFFFD));
    ASSERT_GT(expected, metrics.horizontalAdvance(QStringLiteral("AB")));
    const QRect box = Extent(image, IsLight);
    EXPECT_EQ(box.left(), 10);
    EXPECT_NEAR(box.width(), expected, 1);
    EXPECT_FALSE(Extent(image.copy(box), IsDark).isEmpty());  // ink inside the box
}

}  // namespace
}  // namespace quolix
