// Camera path generation: points per segment, the doubled scale, and the 10,000-point limit.
#include <gtest/gtest.h>
#include <cmath>
#include "fx/bspline.h"
#include "test_support.h"

static PathPoints Control, Path;

static void SetControl(int n, float x0, float dx) {
    Control.count = n;
    for (int i = 0; i < n && i < PATH_MAX_POINTS; i++) {
        Control.points[i][0] = x0 + dx * i;
        Control.points[i][1] = 0.5f * i;
        Control.points[i][2] = -1.0f;
    }
}

TEST(BSplinePath, PointsPerSegmentFollowSinglePrecisionSteps) {
    struct Case {
        int controls, steps, expected;
    } cases[] = {
        {16, 160, 13 * 160},  // the opening scene's camera path
        {10, 83, 7 * 84},     // the last t of 83 steps falls just below 1
        {4, 100, 101},       {4, 1, 1}, {4, 2, 2},
    };
    for (const Case& c : cases) {
        SetControl(c.controls, 0, 1);
        Path.count = -7;
        EXPECT_TRUE(BSplinePath(&Control, &Path, c.steps));
        EXPECT_EQ(Path.count, c.expected) << c.controls << " points, " << c.steps << " steps";
    }
}

TEST(BSplinePath, FewerThanFourControlPointsGiveAnEmptyPath) {
    for (int n : {0, 1, 3, -5}) {
        SetControl(n < 0 ? 0 : n, 0, 1);
        Control.count = n;
        Path.count = 77;
        EXPECT_TRUE(BSplinePath(&Control, &Path, 10));
        EXPECT_EQ(Path.count, 0);
    }
}

TEST(BSplinePath, CurveIsTwiceTheTextbookBSpline) {
    Control.count = 4;
    for (int i = 0; i < 4; i++)
        for (int axis = 0; axis < 3; axis++) Control.points[i][axis] = 1;
    ASSERT_TRUE(BSplinePath(&Control, &Path, 1));
    ASSERT_EQ(Path.count, 1);
    EXPECT_EQ(Path.points[0][0], 2.0f);
    EXPECT_EQ(Path.points[0][1], 2.0f);
    EXPECT_EQ(Path.points[0][2], 2.0f);

    SetControl(4, 0, 3);  // x = 0, 3, 6, 9
    ASSERT_TRUE(BSplinePath(&Control, &Path, 2));
    ASSERT_EQ(Path.count, 2);
    EXPECT_EQ(Path.points[0][0], 6.0f);  // t = 0
    EXPECT_EQ(Path.points[1][0], 9.0f);  // t = 0.5
    EXPECT_EQ(Path.points[0][2], -2.0f);
}

TEST(BSplinePath, EachSegmentStartsAtItsOwnControlPoints) {
    const float x[6] = {0, 1, 5, -2, 4, 8};
    Control.count = 6;
    for (int i = 0; i < 6; i++) {
        Control.points[i][0] = x[i];
        Control.points[i][1] = Control.points[i][2] = 0;
    }
    ASSERT_TRUE(BSplinePath(&Control, &Path, 2));
    ASSERT_EQ(Path.count, 3 * 2);
    for (int j = 1; j <= 3; j++) {
        double expected = (x[j - 1] + 4.0 * x[j] + x[j + 1]) / 3.0;
        EXPECT_NEAR(Path.points[(j - 1) * 2][0], expected, 1e-5) << "segment " << j;
    }
}

TEST(BSplinePath, NonPositiveStepsStillEnd) {
    SetControl(6, 0, 1);
    for (int steps : {0, -3}) {
        Path.count = 99;
        EXPECT_TRUE(BSplinePath(&Control, &Path, steps));
        EXPECT_EQ(Path.count, 3);  // one point (t = 0) per segment
    }
}

TEST(BSplinePath, ControlCountBeyondCapacityReadsOnlyTheRecord) {
    SetControl(PATH_MAX_POINTS, 0, 0);
    Control.count = 2 * PATH_MAX_POINTS;
    Path.count = 5;
    EXPECT_TRUE(BSplinePath(&Control, &Path, 1));
    EXPECT_EQ(Path.count, PATH_MAX_POINTS - 3);
}

class BSplineOverflow : public ::testing::Test {
protected:
    void SetUp() override { BoxesStart(); }
    void TearDown() override { BoxesStop(); }
};

TEST_F(BSplineOverflow, NineThousandNineHundredNinetyNinePointsStillFit) {
    SetControl(102, 0, 1);  // 99 segments of 101 points
    EXPECT_TRUE(BSplinePath(&Control, &Path, 100));
    EXPECT_EQ(Path.count, 9999);
    EXPECT_TRUE(Boxes.empty()) << BoxTexts();
}

TEST_F(BSplineOverflow, TenThousandthPointWarnsAndKeepsTheOldCount) {
    SetControl(103, 0, 1);  // 100 segments of 101 points
    Path.count = 42;
    Path.points[PATH_MAX_POINTS - 1][0] = NAN;
    EXPECT_FALSE(BSplinePath(&Control, &Path, 100));
    EXPECT_EQ(Path.count, 42);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].caption, "B-Spline Error");
    EXPECT_EQ(Boxes[0].text, "Index overflow!");
    EXPECT_EQ(Boxes[0].type, (UINT)MB_ICONWARNING);
    // The last slot holds t = 0 of the hundredth segment: (P99 + 4 P100 + P101) / 3 with x = i.
    EXPECT_EQ(Path.points[PATH_MAX_POINTS - 1][0], 200.0f);
}
