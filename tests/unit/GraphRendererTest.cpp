#include "graph/GraphRenderer.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "graph/FrequencyText.h"
#include "settings/SettingsRecord.h"
#include "support/RecordingDeviceContext.h"

namespace quolix {
namespace {

using Log = std::vector<std::string>;

const std::string Face = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
const std::string DeltaF =
    "\x83\xA2"
    "F=";

std::string FontLine(int size) {
    return "font " + std::to_string(size) + " " + Face;
}

// Distinct colours and widths for the four pens, so that every selection in a
// log says which pen it is: frame 2/red, centre 1/green, grid 0/grey, data 3/blue.
SettingsRecord TestSettings(int colourPrinter = 0) {
    SettingsRecord settings;
    settings.ApplyDefaults();
    settings.Int(SettingsRecord::FrameColour) = 0x0000ff;
    settings.Int(SettingsRecord::CentreColour) = 0x00ff00;
    settings.Int(SettingsRecord::GridColour) = 0x808080;
    settings.Int(SettingsRecord::DataColour) = 0xff0000;
    settings.Int(SettingsRecord::FrameWidth) = 2;
    settings.Int(SettingsRecord::CentreWidth) = 1;
    settings.Int(SettingsRecord::GridWidth) = 0;
    settings.Int(SettingsRecord::DataWidth) = 3;
    settings.Int(SettingsRecord::ColourPrinter) = colourPrinter;
    settings.Text(SettingsRecord::Title1) = "Title one";
    settings.Text(SettingsRecord::Title2) = "Title two";
    return settings;
}

constexpr Rect Screen800x600{0, 0, 800, 600};

void Fill(CQuolixDoc& doc, const std::vector<std::pair<int32_t, int32_t>>& samples) {
    doc.count = static_cast<int32_t>(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        doc.times[i] = samples[i].first;
        doc.readings[i] = samples[i].second;
    }
    doc.comments = {"c1", "c2", "c3", "c4", "c5"};
}

// Runs one paint and checks that the live readout ran right after the frame
// pen was selected.
Log Paint(int printing, const SettingsRecord& settings, CQuolixDoc& doc) {
    RecordingDeviceContext dc;
    size_t callsAtReadout = 0;
    int readouts = 0;
    GraphRenderer renderer(printing, Screen800x600, settings);
    GraphScale scale;
    doc.ComputeScale(scale);
    renderer.OnDraw(dc, scale, doc.Samples(), doc.comments, [&] {
        callsAtReadout = dc.Calls().size();
        ++readouts;
    });
    EXPECT_EQ(readouts, 1);
    EXPECT_EQ(callsAtReadout, 1u);
    return dc.Log();
}

// Frame on screen at 800 x 600: x 0 -> 66, 1000 -> 733 (550 x 800 / 600);
// y 1000 -> 87 (70 x 600 / 480), 0 -> 287, -1000 -> 487.
const Log ScreenFrame = {"pen 2 0x0000ff", "move 66 487",  "line 66 87",
                         "line 733 87",    "line 733 487", "line 66 487"};

// Base font 100 x 600 / 480 = 125, h = 96 x 125 / 720 = 16. Titles at
// 87 - 40 and 87 - 19 (x 600 -> 350 x 800 / 600 = 466); comments at 487 + 32,
// + 56, + 80. Marks: font 150, h2 = 20, at x 66 - 20, y line - 10.
const Log ScreenTexts = {"text 66 47 Title one", "text 466 68 Title two",
                         "text 66 519 c1",       "text 66 543 c2",
                         "text 66 567 c3",       FontLine(150),
                         "text 46 77 +",         "text 46 477 -",
                         "text 46 277 0",        "font 0 "};

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(GraphScene, EmptyDocumentOnScreen) {
    CQuolixDoc doc;
    Fill(doc, {});
    const Log expected = Join({{"pen 2 0x0000ff",  // frame pen kept selected for the readout
                                "pen 1 0x00ff00", "move 66 287", "line 733 287",
                                "pen 0 0x808080"},  // grid: one division each way, no line
                               ScreenFrame,
                               {"pen 0 0x000000", FontLine(125)},
                               ScreenTexts});
    EXPECT_EQ(Paint(0, TestSettings(), doc), expected);
}

TEST(GraphScene, OneSampleOnScreen) {
    CQuolixDoc doc;
    Fill(doc, {{0, 1234567}});
    // One 10 s division, unit 10: the data line is only the move to the first
    // sample. The unit text "        1.0" loses two characters to the cut.
    const Log expected =
        Join({{"pen 2 0x0000ff", "pen 1 0x00ff00", "move 66 287", "line 733 287", "pen 0 0x808080",
               "pen 3 0xff0000", "move 66 287"},
              ScreenFrame,
              {"pen 0 0x000000", FontLine(125), "text 66 68 Center Frequency=  123,456.7kHz ",
               "text 66 495 Time=10sec/div    ", "text 533 495 " + DeltaF + "      1.0kHz/div    "},
              ScreenTexts});
    EXPECT_EQ(Paint(0, TestSettings(), doc), expected);
}

// Elapsed 25 s: three 10 s divisions, span 30. Farthest deviation 250: unit
// 100, three divisions per half, span 300. Grid at x 333, 666 and y +-333,
// +-666; samples at x 333, 666, 833 and y 500, -833, 133.
const std::vector<std::pair<int32_t, int32_t>> ThreeDivisions = {
    {0, 1234567}, {10, 1234717}, {20, 1234317}, {25, 1234607}};

TEST(GraphScene, ThreeDivisionsOnScreen) {
    CQuolixDoc doc;
    Fill(doc, ThreeDivisions);
    // x 333 -> 216 x 800 / 600 = 288, 666 -> 383 x 800 / 600 = 510,
    // 833 -> 466 x 800 / 600 = 621. y 333 -> 177 x 600 / 480 = 221,
    // -333 -> 283 -> 353, 666 -> 124 -> 155, -666 -> 336 -> 420,
    // 500 -> 150 -> 187, -833 -> 363 -> 453, 133 -> 209 -> 261.
    const Log expected = Join(
        {{"pen 2 0x0000ff", "pen 1 0x00ff00", "move 66 287",    "line 733 287", "pen 0 0x808080",
          "move 288 87",    "line 288 487",   "move 510 87",    "line 510 487", "move 66 221",
          "line 733 221",   "move 66 353",    "line 733 353",   "move 66 155",  "line 733 155",
          "move 66 420",    "line 733 420",   "pen 3 0xff0000", "move 66 287",  "line 288 187",
          "line 510 453",   "line 621 261"},
         ScreenFrame,
         {"pen 0 0x000000", FontLine(125), "text 66 68 Center Frequency=  123,456.7kHz ",
          "text 66 495 Time=10sec/div    ", "text 533 495 " + DeltaF + "     10.0kHz/div    "},
         ScreenTexts});
    EXPECT_EQ(Paint(0, TestSettings(), doc), expected);
}

// The same recording on paper: x -> x x 1800 / 1000 + 370, y -> 1400 - y x
// 900 / 1000, whatever the window. Widths times three; base font 450, h = 60;
// mark font 540, h2 = 72.
Log PrintedThreeDivisions(const std::string& frame, const std::string& centre,
                          const std::string& grid, const std::string& data) {
    return {frame,
            centre,
            "move 370 1400",
            "line 2170 1400",
            grid,
            "move 969 500",
            "line 969 2300",
            "move 1568 500",
            "line 1568 2300",
            "move 370 1101",
            "line 2170 1101",
            "move 370 1699",
            "line 2170 1699",
            "move 370 801",
            "line 2170 801",
            "move 370 1999",
            "line 2170 1999",
            data,
            "move 370 1400",
            "line 969 950",
            "line 1568 2149",
            "line 1869 1281",
            frame,
            "move 370 2300",
            "line 370 500",
            "line 2170 500",
            "line 2170 2300",
            "line 370 2300",
            "pen 0 0x000000",
            FontLine(450),
            "text 370 428 Center Frequency=  123,456.7kHz ",
            "text 370 2330 Time=10sec/div    ",
            "text 1630 2330 " + DeltaF + "     10.0kHz/div    ",
            "text 370 350 Title one",
            "text 1450 428 Title two",
            "text 370 2420 c1",
            "text 370 2510 c2",
            "text 370 2600 c3",
            FontLine(540),
            "text 298 464 +",
            "text 298 2264 -",
            "text 298 1364 0",
            "font 0 "};
}

TEST(GraphScene, ThreeDivisionsPrintedInBlack) {
    CQuolixDoc doc;
    Fill(doc, ThreeDivisions);
    EXPECT_EQ(Paint(1, TestSettings(0), doc),
              PrintedThreeDivisions("pen 6 0x000000", "pen 3 0x000000", "pen 0 0x000000",
                                    "pen 9 0x000000"));
}

TEST(GraphScene, ThreeDivisionsPrintedInColour) {
    CQuolixDoc doc;
    Fill(doc, ThreeDivisions);
    EXPECT_EQ(Paint(1, TestSettings(1), doc),
              PrintedThreeDivisions("pen 6 0x0000ff", "pen 3 0x00ff00", "pen 0 0x808080",
                                    "pen 9 0xff0000"));
}

TEST(GraphMapping, ScreenFollowsTheWindowSizeNotItsPosition) {
    const PageLayout at800(0, Rect{100, 50, 900, 650});
    EXPECT_EQ((std::vector{at800.MapX(0), at800.MapX(600), at800.MapX(700), at800.MapX(1000)}),
              (std::vector{66, 466, 533, 733}));
    EXPECT_EQ((std::vector{at800.MapY(1000), at800.MapY(0), at800.MapY(-1000)}),
              (std::vector{87, 287, 487}));
    EXPECT_EQ(at800.BaseFontSize(), 125);

    const PageLayout at600(0, Rect{0, 0, 600, 480});
    EXPECT_EQ((std::vector{at600.MapX(0), at600.MapX(700), at600.MapX(1000)}),
              (std::vector{50, 400, 550}));
    EXPECT_EQ((std::vector{at600.MapY(1000), at600.MapY(0), at600.MapY(-1000)}),
              (std::vector{70, 230, 390}));
    EXPECT_EQ(at600.BaseFontSize(), 100);
}

TEST(GraphMapping, PaperIsTheSameWhateverTheWindow) {
    for (const Rect window : {Rect{0, 0, 800, 600}, Rect{0, 0, 123, 4567}}) {
        const PageLayout paper(1, window);
        EXPECT_EQ((std::vector{paper.MapX(0), paper.MapX(600), paper.MapX(700), paper.MapX(1000)}),
                  (std::vector{370, 1450, 1630, 2170}));
        EXPECT_EQ((std::vector{paper.MapY(1000), paper.MapY(0), paper.MapY(-1000)}),
                  (std::vector{500, 1400, 2300}));
        EXPECT_EQ(paper.BaseFontSize(), 450);
    }
}

TEST(GraphPensTest, OnlyColourPrinterExactlyOneKeepsColours) {
    SettingsRecord settings = TestSettings(2);
    const GraphPens printed = GraphRenderer(1, Screen800x600, settings).MakePens();
    EXPECT_EQ(printed.frame, (Pen{6, 0}));
    EXPECT_EQ(printed.data, (Pen{9, 0}));
    const GraphPens screen = GraphRenderer(0, Screen800x600, settings).MakePens();
    EXPECT_EQ(screen.frame, (Pen{2, 0x0000ff}));
    EXPECT_EQ(screen.grid, (Pen{0, 0x808080}));
}

TEST(GraphPensTest, HugePrintedWidthSaturatesInsteadOfOverflowing) {
    SettingsRecord settings = TestSettings();
    settings.Int(SettingsRecord::FrameWidth) = INT32_MAX;
    settings.Int(SettingsRecord::DataWidth) = INT32_MIN;
    const GraphPens printed = GraphRenderer(1, Screen800x600, settings).MakePens();
    EXPECT_EQ(printed.frame.width, INT32_MAX);
    EXPECT_EQ(printed.data.width, INT32_MIN);
}

class DataLineTest : public testing::Test {
  protected:
    Log Draw(int printing, const GraphScale& scale) {
        RecordingDeviceContext dc;
        GraphRenderer(printing, Screen800x600, settings_)
            .DrawDataLine(dc, scale, Pen{3, 1}, doc_.Samples());
        return dc.Log();
    }
    SettingsRecord settings_ = TestSettings();
    CQuolixDoc doc_;
};

TEST_F(DataLineTest, SpanThatIsNotPositiveDrawsNothing) {
    Fill(doc_, {{0, 0}, {5, 10}});
    GraphScale scale;
    scale.sampleCount = 2;
    scale.deviationSpan = 10;
    for (const int32_t span : {0, -10}) {
        scale.timeSpan = span;
        EXPECT_EQ(Draw(0, scale), Log{}) << span;
    }
    scale.timeSpan = 10;
    scale.deviationSpan = 0;
    EXPECT_EQ(Draw(0, scale), Log{});
}

TEST_F(DataLineTest, StartsAtTheFirstSamplesOwnTime) {
    // Span 20: x 100 x 1000 / 20 = 5000 -> 2550 x 800 / 600 = 3400;
    // 5500 -> 2800 x 800 / 600 = 3733.
    Fill(doc_, {{100, 7}, {110, 7}});
    GraphScale scale;
    doc_.ComputeScale(scale);
    EXPECT_EQ(Draw(0, scale), (Log{"pen 3 0x000001", "move 3400 287", "line 3733 287"}));
}

TEST_F(DataLineTest, StopsWhereTheDocumentEnds) {
    Fill(doc_, {{0, 0}, {5, 5}});
    GraphScale scale;
    doc_.ComputeScale(scale);
    scale.sampleCount = 5;
    // x 5 x 1000 / 10 = 500 -> 300 x 800 / 600 = 400; y 500 -> 187.
    EXPECT_EQ(Draw(0, scale), (Log{"pen 3 0x000001", "move 66 287", "line 400 187"}));
}

TEST_F(DataLineTest, FarApartSamplesNeitherOverflowNorWrap) {
    // Times near 2^31: x 2e12 / 20 is clamped to 100000 -> 50050 x 800 / 600.
    // The deviation 2^32 - 1 is kept in 64 bits (not wrapped to -1):
    // 4294967295 x 1000 / 2e9 = 2147 -> (230 - 343) x 600 / 480 = -141.
    Fill(doc_, {{2000000000, INT32_MIN}, {2000000010, INT32_MAX}});
    GraphScale scale;
    doc_.ComputeScale(scale);
    EXPECT_EQ(Draw(0, scale), (Log{"pen 3 0x000001", "move 66733 287", "line 66733 -141"}));
}

TEST_F(DataLineTest, DeviationFarBeyondTheSpanIsClamped) {
    Fill(doc_, {{0, 0}, {10, 2000000000}});
    GraphScale scale;
    scale.sampleCount = 2;
    scale.timeSpan = 10;
    scale.deviationSpan = 10;
    // y 2e11 clamped to 100000: screen (230 - 16000) x 600 / 480 = -19712,
    // paper 1400 - 90000; x 1000.
    EXPECT_EQ(Draw(0, scale), (Log{"pen 3 0x000001", "move 66 287", "line 733 -19712"}));
    EXPECT_EQ(Draw(1, scale), (Log{"pen 3 0x000001", "move 370 1400", "line 2170 -88600"}));
}

TEST(GridTest, OneDivisionEachWayDrawsNoLine) {
    const SettingsRecord settings = TestSettings();
    RecordingDeviceContext dc;
    GraphScale scale;
    scale.timeDivisions = 1;
    scale.deviationDivisions = 1;
    GraphRenderer(0, Screen800x600, settings).DrawGrid(dc, scale, Pen{0, 5});
    EXPECT_EQ(dc.Log(), (Log{"pen 0 0x000005"}));
}

struct UnitLabelCase {
    int32_t resolution;
    int32_t unit;
    std::string shown;
};

TEST(LabelsTest, DeviationUnitShowsItsLastNineCharacters) {
    for (const UnitLabelCase& c :
         {UnitLabelCase{0, 10, "      1.0"}, UnitLabelCase{0, 10000000, "000,000.0"},
          UnitLabelCase{1, 10, "     0.10"}, UnitLabelCase{2, 10000000, "0,000.000"},
          UnitLabelCase{3, 100, "00000100"}}) {
        SettingsRecord settings = TestSettings();
        settings.Int(SettingsRecord::Resolution) = c.resolution;
        GraphScale scale;
        scale.sampleCount = 1;
        scale.deviationUnit = c.unit;
        RecordingDeviceContext dc;
        GraphRenderer(0, Screen800x600, settings).DrawLabels(dc, scale, {});
        const Log log = dc.Log();
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(log[3], "text 533 495 " + DeltaF + c.shown + "kHz/div    ") << c.unit;
        // The shared text itself was cut in place.
        EXPECT_EQ(FrequencyText(), c.shown);
    }
}

TEST(LabelsTest, RestoresTheFontSelectedBefore) {
    const SettingsRecord settings = TestSettings();
    RecordingDeviceContext dc;
    dc.SelectFont(Font{77, "before"});
    GraphRenderer(0, Screen800x600, settings).DrawLabels(dc, GraphScale{}, {});
    EXPECT_EQ(dc.CurrentFont(), (Font{77, "before"}));
}

}  // namespace
}  // namespace quolix
