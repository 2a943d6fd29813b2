#include "platform/pointer/CompositePointerSettings.h"

#include <gtest/gtest.h>

#include "platform/pointer/PointerReport.h"
#include "platform/pointer/SpeedScale.h"
#include "tests/settings/RecordingPointerSettings.h"

namespace pallix {
namespace {

using test::RecordingPointerSettings;

struct Pair {
    RecordingPointerSettings* first;
    RecordingPointerSettings* second;
    std::unique_ptr<CompositePointerSettings> composite;
};

Pair MakePair(PointerResult first, PointerResult second) {
    auto a = std::make_unique<RecordingPointerSettings>();
    auto b = std::make_unique<RecordingPointerSettings>();
    a->result = first;
    b->result = second;
    Pair p{a.get(), b.get(), nullptr};
    std::vector<std::unique_ptr<PointerSettings>> backends;
    backends.push_back(std::move(a));
    backends.push_back(std::move(b));
    p.composite = std::make_unique<CompositePointerSettings>(std::move(backends));
    return p;
}

TEST(CompositePointerSettingsTest, EveryBackendIsToldAndTheBestResultReported) {
    using R = PointerResult;
    struct Case {
        R first, second, expected;
    };
    for (const Case& c : {Case{R::Unsupported, R::Unsupported, R::Unsupported}, Case{R::Unsupported, R::Failed, R::Failed},
                          Case{R::Failed, R::OwnWindowsOnly, R::OwnWindowsOnly},
                          Case{R::OwnWindowsOnly, R::Applied, R::Applied}, Case{R::Applied, R::Failed, R::Applied}}) {
        Pair p = MakePair(c.first, c.second);
        EXPECT_EQ(p.composite->SetDoubleClickTime(640), c.expected);
        EXPECT_EQ(p.first->setDoubleClicks, std::vector<int>{640});
        EXPECT_EQ(p.second->setDoubleClicks, std::vector<int>{640});
    }
}

TEST(CompositePointerSettingsTest, ReadsTheFirstBackendThatKnowsElseWhatWasLastSet) {
    Pair p = MakePair(PointerResult::Unsupported, PointerResult::Unsupported);
    EXPECT_EQ(p.composite->Speed(), std::nullopt);
    p.second->speed = 8;
    EXPECT_EQ(p.composite->Speed(), 8);
    p.first->speed = 13;
    EXPECT_EQ(p.composite->Speed(), 13);
    EXPECT_EQ(p.composite->SetWheelScrollLines(kWheelOnePage), PointerResult::Unsupported);
    EXPECT_EQ(p.composite->WheelScrollLines(), kWheelOnePage);
}

TEST(CompositePointerSettingsTest, OutOfRangeValuesReachNoBackend) {
    Pair p = MakePair(PointerResult::Applied, PointerResult::Applied);
    EXPECT_EQ(p.composite->SetSpeed(0), PointerResult::Failed);
    EXPECT_EQ(p.composite->SetSpeed(21), PointerResult::Failed);
    EXPECT_EQ(p.composite->SetDoubleClickTime(0), PointerResult::Failed);
    EXPECT_EQ(p.composite->SetWheelScrollLines(0), PointerResult::Failed);
    EXPECT_EQ(p.composite->SetWheelScrollLines(-2), PointerResult::Failed);
    EXPECT_TRUE(p.first->setSpeeds.empty());
    EXPECT_TRUE(p.first->setWheels.empty());
    EXPECT_EQ(p.composite->Speed(), std::nullopt);
}

// Before any change the report forecasts; afterwards it says what the change did,
// and names only the backends that achieved the reported result.
TEST(PointerReportTest, ForecastThenOutcomeWithTheBackendsThatCarriedIt) {
    Pair p = MakePair(PointerResult::OwnWindowsOnly, PointerResult::Applied);
    p.first->name = "own";
    p.second->name = "desktop";
    p.second->doubleClick = 480;
    PointerReport r = ReportPointerSettings(*p.composite);
    EXPECT_FALSE(r[1].tried);
    EXPECT_EQ(r[1].result, PointerResult::Applied);
    EXPECT_EQ(r[1].via, std::vector<std::string>{"desktop"});
    EXPECT_EQ(r[1].value, 480);

    p.second->result = PointerResult::Failed;  // the desktop refuses now
    EXPECT_EQ(p.composite->SetDoubleClickTime(700), PointerResult::OwnWindowsOnly);
    r = ReportPointerSettings(*p.composite);
    EXPECT_TRUE(r[1].tried);
    EXPECT_EQ(r[1].result, PointerResult::OwnWindowsOnly);
    EXPECT_EQ(r[1].via, std::vector<std::string>{"own"});
    EXPECT_FALSE(r[0].tried);  // the others were not changed
    EXPECT_EQ(p.composite->Reach(PointerSetting::Speed), PointerResult::OwnWindowsOnly);

    Pair none = MakePair(PointerResult::Unsupported, PointerResult::Unsupported);
    r = ReportPointerSettings(*none.composite);
    EXPECT_TRUE(r[2].via.empty());
    EXPECT_EQ(FormatPointerReport(r), "speed         ?          unsupported\n"
                                      "double-click  ?          unsupported\n"
                                      "wheel lines   ?          unsupported\n");
}

TEST(SpeedScaleTest, EverySpeedSurvivesTheRoundTrip) {
    for (int s = kPointerSpeedMin; s <= kPointerSpeedMax; ++s) {
        EXPECT_EQ(LibinputToSpeed(SpeedToLibinput(s)), s);
        const XAcceleration a = SpeedToXAcceleration(s);
        EXPECT_EQ(XAccelerationToSpeed(a.numerator, a.denominator), s);
    }
    EXPECT_DOUBLE_EQ(SpeedToLibinput(1), -1.0);
    EXPECT_DOUBLE_EQ(SpeedToLibinput(10), 0.0);
    EXPECT_DOUBLE_EQ(SpeedToLibinput(20), 1.0);
}

TEST(SpeedScaleTest, ForeignValuesLandInsideTheScale) {
    EXPECT_EQ(XAccelerationToSpeed(2, 1), 10);  // the X server's default
    EXPECT_EQ(XAccelerationToSpeed(1, 1), 5);
    EXPECT_EQ(XAccelerationToSpeed(4, 1), 20);
    EXPECT_EQ(XAccelerationToSpeed(10, 1), 20);
    EXPECT_EQ(XAccelerationToSpeed(1, 100), 1);
    EXPECT_EQ(XAccelerationToSpeed(0, 0), 10);
    EXPECT_EQ(LibinputToSpeed(5.0), 20);
    EXPECT_EQ(LibinputToSpeed(-0.5), 6);
    EXPECT_EQ(LibinputToSpeed(0.25), 13);
}

}  // namespace
}  // namespace pallix
