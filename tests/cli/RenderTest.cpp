// quolix-cli render: the picture comes from the view's own drawing code, so
// the frame, the centre line and the data line must lie where the drawing
// rules put them, in the colours of the settings; the printed page must hold
// the labels as text.

#include <filesystem>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include "cli/CliProcess.h"
#include "support/PageFrame.h"

namespace quolix::cli {
namespace {

using testing::CliProcess;
using testing::PageFrame;
using testing::ReadFile;
using testing::TempDir;

const std::string Cli = QUOLIX_CLI;
const std::string Golden = QUOLIX_GOLDEN_DIR;

bool IsBlack(QColor c) {
    return c.red() < 80 && c.green() < 80 && c.blue() < 80;
}
bool IsWhite(QColor c) {
    return c.red() > 240 && c.green() > 240 && c.blue() > 240;
}
bool IsRed(QColor c) {
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}
bool IsBlue(QColor c) {
    return c.blue() > 200 && c.red() < 80 && c.green() < 80;
}

// A recording without a unit of its own is drawn at slot 17 of the settings,
// which is said; nothing else reaches the terminal.
std::string UnitFromSettings(const std::string& file) {
    return "quolix-cli: " + file +
           ": 記録ファイルに単位の記録がないため、読み値 1 カウントを 100 Hz とします "
           "(設定のスロット 17 による)。\n";
}

class RenderTest : public ::testing::Test {
  protected:
    CliProcess::Result Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("quolix.ini")});
        return CliProcess::Run(Cli, args, {{"QT_QPA_PLATFORM", "offscreen"}});
    }

    QImage RenderStep(const std::vector<std::string>& extra = {}) {
        const std::string out = dir.File("step.png");
        std::vector<std::string> args = {"render", Golden + "/step.qlx", "-o", out};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliProcess::Result result = Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, UnitFromSettings(Golden + "/step.qlx"));
        return QImage(QString::fromStdString(out));
    }

    // Text of a PDF through pdftotext; empty when the tool is missing.
    std::string PdfText(const std::string& pdf) {
        const CliProcess::Result result = CliProcess::Run("/usr/bin/pdftotext", {pdf, "-"});
        return result.status == 0 ? result.out : std::string();
    }

    TempDir dir;
};

// The window's picture at 800 x 600: MapX gives 66 and 733 for the frame's
// left and right edges, MapY 87, 287 and 487 for its top, the centre line and
// its bottom. step.qlx has samples at 0, 10 and 20 s, the last two 5 counts
// above the first: the deviation span is 10 counts, so the data line runs at
// y = 500 (pixel 187) from x = 333 (pixel 288) to x = 666 (pixel 510).
TEST_F(RenderTest, TheWindowPictureFollowsTheDrawingRules) {
    const QImage image = RenderStep();
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(800, 600));
    // Frame (2 pixels wide), at points clear of every other line and text.
    EXPECT_TRUE(IsBlack(image.pixelColor(66, 400)));
    EXPECT_TRUE(IsBlack(image.pixelColor(733, 400)));
    EXPECT_TRUE(IsBlack(image.pixelColor(600, 87)));
    EXPECT_TRUE(IsBlack(image.pixelColor(600, 487)));
    EXPECT_TRUE(IsWhite(image.pixelColor(62, 400)));
    EXPECT_TRUE(IsWhite(image.pixelColor(737, 400)));
    // Centre line, one pixel.
    EXPECT_TRUE(IsBlack(image.pixelColor(650, 287)));
    EXPECT_TRUE(IsWhite(image.pixelColor(650, 283)));
    EXPECT_TRUE(IsWhite(image.pixelColor(650, 291)));
    // Data line, level between the second and third sample.
    EXPECT_TRUE(IsBlack(image.pixelColor(400, 187)));
    EXPECT_TRUE(IsWhite(image.pixelColor(400, 182)));
    EXPECT_TRUE(IsWhite(image.pixelColor(400, 192)));
    // Nothing after the last sample.
    EXPECT_TRUE(IsWhite(image.pixelColor(600, 187)));
    // No live readout: the top left corner stays empty.
    for (int x = 0; x < 60; x += 3) {
        for (int y = 0; y < 40; y += 3) {
            ASSERT_TRUE(IsWhite(image.pixelColor(x, y))) << x << "," << y;
        }
    }
}

TEST_F(RenderTest, TheColoursComeFromTheSettings) {
    // Colours are 0x00BBGGRR: 255 is red, 16711680 blue.
    ASSERT_EQ(Run({"settings", "--set", "3=255", "--set", "0=16711680"}).status, 0);
    const QImage image = RenderStep();
    EXPECT_TRUE(IsRed(image.pixelColor(400, 187)));
    EXPECT_TRUE(IsBlue(image.pixelColor(66, 400)));
    EXPECT_TRUE(IsBlack(image.pixelColor(650, 287)));
}

TEST_F(RenderTest, TheSizeStretchesThePicture) {
    const QImage image = RenderStep({"--size", "400x300"});
    ASSERT_EQ(image.size(), QSize(400, 300));
    // MapX(0) = 50 x 400 / 600 = 33, MapY(0) = 230 x 300 / 480 = 143.
    EXPECT_TRUE(IsBlack(image.pixelColor(33, 200)));
    EXPECT_TRUE(IsBlack(image.pixelColor(320, 143)));
    EXPECT_TRUE(IsWhite(image.pixelColor(320, 147)));
}

// The page as printed to a PDF: no margins, so the frame's corner lies at
// (370, 500) from the paper's corner, and every text where the layout puts
// it against the lines.
TEST_F(RenderTest, ThePrintedPageIsAnA4SheetWithFrameAndTextsInPlace) {
    const std::string out = dir.File("page.png");
    const CliProcess::Result result = Run({"render", Golden + "/step.qlx", "-o", out, "--page"});
    ASSERT_EQ(result.status, 0) << result.err;
    const QImage image(QString::fromStdString(out));
    // 210 x 297 mm at 300 dpi.
    EXPECT_NEAR(image.width(), 2480, 2);
    EXPECT_NEAR(image.height(), 3508, 2);
    EXPECT_NEAR(image.dotsPerMeterX(), 11811, 2);

    const PageFrame frame = PageFrame::Find(image);
    EXPECT_NEAR(frame.left, 370, 1.0);
    EXPECT_NEAR(frame.top, 500, 1.0);
    EXPECT_NEAR(frame.bottom, 2300, 1.0);
    // "Time=10sec/div" hangs from (MapX(0), MapY(-1000) + h x 5 / 10): the
    // 45-point font is h = 60 pixels high (at the screen's 96 dpi), so its
    // cell starts 30 pixels under the bottom line, at the left edge. Below
    // the line's 6 pixels and left of the deviation label, nothing else is
    // drawn.
    QRect ink;
    for (int y = 2304; y < 2420; ++y) {
        for (int x = 366; x < 1000; ++x) {
            if (PageFrame::Dark(image.pixel(x, y))) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.top(), 2330);
    EXPECT_LE(ink.top(), 2330 + 20);
    EXPECT_GE(ink.left(), 370);
    EXPECT_LE(ink.left(), 370 + 15);
}

TEST_F(RenderTest, ThePdfPageHoldsTheLabelsAndTheSettingsTitles) {
    ASSERT_EQ(Run({"settings", "--set", "10=周波数ロガー試験"}).status, 0);
    const std::string out = dir.File("page.pdf");
    const CliProcess::Result result =
        Run({"render", Golden + "/cp932-comments.qlx", "-o", out, "--page"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, UnitFromSettings(Golden + "/cp932-comments.qlx"));
    EXPECT_EQ(ReadFile(out).rfind("%PDF-", 0), 0u);
    const std::string text = PdfText(out);
    if (text.empty()) {
        GTEST_SKIP() << "pdftotext is not available";
    }
    for (const char* label :
         {"周波数ロガー試験", "( Frequency Data Logger )", "Center Frequency=", "9,999.8kHz",
          "Time=10sec/div", "ΔF=", "kHz/div", "周波数の記録 テスト",
          // The full-width tilde after these comes back from PDF text as a
          // wave dash, a matter of the font, so it is not looked for.
          "ｶﾀｶﾅ ①②"}) {
        EXPECT_NE(text.find(label), std::string::npos) << label << "\n" << text;
    }
    // The fourth and fifth comments are carried, never drawn.
    EXPECT_EQ(text.find("注釈4"), std::string::npos);
}

TEST_F(RenderTest, ARecordingOfItsOwnUnitIsDrawnInIt) {
    // The settings say 100 Hz a count; stamped.qlx says 1 Hz: 10,000.000 kHz.
    const std::string out = dir.File("stamped.pdf");
    const CliProcess::Result result = Run({"render", Golden + "/stamped.qlx", "-o", out});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("1 Hz とします (記録ファイルの注釈5 による)"), std::string::npos)
        << result.err;
    const std::string text = PdfText(out);
    if (text.empty()) {
        GTEST_SKIP() << "pdftotext is not available";
    }
    EXPECT_NE(text.find("10,000.000kHz"), std::string::npos) << text;
}

TEST_F(RenderTest, TheWindowPictureAsPdfHoldsTheLabelsToo) {
    const std::string out = dir.File("window.pdf");
    const CliProcess::Result result = Run({"render", Golden + "/step.qlx", "-o", out});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string text = PdfText(out);
    if (text.empty()) {
        GTEST_SKIP() << "pdftotext is not available";
    }
    EXPECT_NE(text.find("Quolix Frequency Counter"), std::string::npos) << text;
    EXPECT_NE(text.find("step comment"), std::string::npos) << text;
}

TEST_F(RenderTest, AnEmptyRecordingDrawsTheFrameButNoLabels) {
    const std::string out = dir.File("empty.pdf");
    ASSERT_EQ(Run({"render", Golden + "/empty.qlx", "-o", out}).status, 0);
    const std::string text = PdfText(out);
    if (text.empty()) {
        GTEST_SKIP() << "pdftotext is not available";
    }
    EXPECT_NE(text.find("Quolix Frequency Counter"), std::string::npos);
    EXPECT_EQ(text.find("Center Frequency="), std::string::npos);
}

TEST_F(RenderTest, AnOutputThatCannotBeWrittenIsNamedAndNothingIsLeft) {
    const std::string out = dir.File("none/step.png");
    const CliProcess::Result result = Run({"render", Golden + "/step.qlx", "-o", out});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(out + ": 書き込めませんでした。"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace quolix::cli
