#include "parallel/band_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace qz::parallel {
namespace {

std::vector<Band> AllBands(const BandPlan& plan) {
  std::vector<Band> bands;
  const int32_t count = plan.count <= 1 ? 1 : plan.count;
  for (int32_t i = 0; i < count; ++i) bands.push_back(BandRows(plan, i));
  return bands;
}

TEST(BandPlan, WorkedExamples) {
  struct Case {
    int32_t first, last, workers, min_rows;
    std::vector<std::pair<int32_t, int32_t>> rows;
  };
  const std::vector<Case> cases = {
      {0,
       599,
       8,
       4,
       {{0, 73},
        {74, 147},
        {148, 221},
        {222, 295},
        {296, 369},
        {370, 443},
        {444, 517},
        {518, 599}}},
      {0, 29, 8, 6, {{0, 6}, {7, 13}, {14, 20}, {21, 29}}},
      {0, 9, 8, 4, {{0, 3}, {4, 9}}},
      {0, 3, 2, 1, {{0, 0}, {1, 3}}},
  };
  for (const Case& c : cases) {
    const BandPlan plan = PlanBands(c.first, c.last, 0, 10, c.workers, c.min_rows);
    const std::vector<Band> bands = AllBands(plan);
    ASSERT_EQ(bands.size(), c.rows.size()) << c.last << " rows, " << c.workers << " workers";
    for (size_t i = 0; i < bands.size(); ++i) {
      EXPECT_EQ(bands[i].top, c.rows[i].first);
      EXPECT_EQ(bands[i].bottom, c.rows[i].second);
    }
  }
}

TEST(BandPlan, ShortOrInvertedRangesBecomeOneDirectCall) {
  EXPECT_EQ(PlanBands(0, 4, 0, 0, 8, 6).count, 0);
  EXPECT_EQ(PlanBands(10, 3, 0, 0, 8, 4).count, 0);
  EXPECT_EQ(PlanBands(0, 599, 0, 0, 1, 4).count, 1);
  EXPECT_EQ(PlanBands(0, 599, 0, 0, 0, 4).count, 0);
}

// Every row of any range lands in exactly one band, bands are in order and none is shorter than
// the minimum except where the plan fell back to one call.
TEST(BandPlan, EveryRowExactlyOnceForOneToEightWorkers) {
  for (int32_t workers = 1; workers <= 8; ++workers) {
    for (int32_t first = -3; first <= 5; ++first) {
      for (int32_t last = first - 2; last <= first + 70; ++last) {
        for (int32_t min_rows : {1, 4, 6}) {
          const BandPlan plan = PlanBands(first, last, 0, 0, workers, min_rows);
          ASSERT_LE(plan.count, workers);
          std::vector<int> seen(last >= first ? last - first + 1 : 0, 0);
          for (const Band& band : AllBands(plan)) {
            if (plan.count >= 2) {
              ASSERT_GE(band.bottom - band.top + 1, min_rows);
            }
            for (int32_t row = band.top; row <= band.bottom; ++row) ++seen.at(row - first);
          }
          for (int count : seen) ASSERT_EQ(count, 1);
        }
      }
    }
  }
}

}  // namespace
}  // namespace qz::parallel
