// The crash test's judgement: which values the journal allows after a kill, the journal's
// text, and telling a whole counter record from a torn one. A fault here would let the crash
// test pass over lost or torn writes.
#include "tests/reliability/crash_journal.h"
#include "tests/reliability/crash_record.h"

#include <gtest/gtest.h>

namespace crash {
namespace {

struct AcceptableCase {
    const char* name;
    std::vector<Entry> journal;
    std::uint32_t settled;
    std::optional<std::uint32_t> pending;
};

void PrintTo(const AcceptableCase& c, std::ostream* out) {
    *out << c.name;
}

class AcceptableAfterKill : public ::testing::TestWithParam<AcceptableCase> {};

TEST_P(AcceptableAfterKill, FollowsTheLastSettledValueAndTheCutWrite) {
    const AcceptableCase& c = GetParam();
    const Acceptable acceptable = AcceptableValues(c.journal, Item::kRegistry);
    EXPECT_EQ(acceptable.settled, c.settled);
    EXPECT_EQ(acceptable.pending, c.pending);
}

constexpr Item R = Item::kRegistry;
constexpr Item I = Item::kProfile;
constexpr Event kIntend = Event::kIntend;
constexpr Event kDone = Event::kDone;
constexpr Event kSeen = Event::kSeen;

INSTANTIATE_TEST_SUITE_P(
    Journals, AcceptableAfterKill,
    ::testing::Values(
        AcceptableCase{"NothingWritten", {}, 0, std::nullopt},
        AcceptableCase{"WriteReturned", {{R, kIntend, 1}, {R, kDone, 1}}, 1, std::nullopt},
        AcceptableCase{
            "KilledDuringWrite", {{R, kIntend, 1}, {R, kDone, 1}, {R, kIntend, 2}}, 1, 2},
        // The cut write was found not to have landed: it must never appear later.
        AcceptableCase{"CutWriteFoundMissing",
                       {{R, kIntend, 1}, {R, kDone, 1}, {R, kIntend, 2}, {R, kSeen, 1}},
                       1,
                       std::nullopt},
        AcceptableCase{"CutWriteFoundLanded",
                       {{R, kIntend, 1}, {R, kDone, 1}, {R, kIntend, 2}, {R, kSeen, 2}},
                       2,
                       std::nullopt},
        AcceptableCase{"OtherItemIgnored",
                       {{R, kIntend, 1},
                        {R, kDone, 1},
                        {I, kIntend, 1},
                        {I, kDone, 1},
                        {R, kIntend, 2},
                        {I, kSeen, 7}},
                       1,
                       2}),
    [](const auto& info) { return info.param.name; });

TEST(Acceptable, AllowsOnlyTheSettledAndThePendingValue) {
    const Acceptable acceptable{4, 5};
    EXPECT_TRUE(acceptable.Allows(4));
    EXPECT_TRUE(acceptable.Allows(5));
    EXPECT_FALSE(acceptable.Allows(3));
    EXPECT_FALSE(acceptable.Allows(6));
    EXPECT_FALSE((Acceptable{4, std::nullopt}.Allows(5)));
}

TEST(Journal, ReadsBackWhatWasWrittenAndCountsOnFromTheLargestValue) {
    const std::vector<Entry> entries = {{R, kIntend, 41}, {R, kDone, 41}, {I, kSeen, 4000000000}};
    std::string text;
    for (const Entry& entry : entries) {
        text += FormatEntry(entry);
    }
    EXPECT_EQ(text, "reg intend 41\nreg done 41\nini seen 4000000000\n");
    EXPECT_EQ(ParseJournal(text), entries);
    EXPECT_EQ(NextCounter(entries), 4000000001u);
    EXPECT_EQ(NextCounter({}), 1u);
}

TEST(Journal, RefusesMalformedLines) {
    for (const char* text :
         {"reg done 4", "reg done\n", "reg finished 4\n", "log done 4\n", "reg done 4x\n",
          "reg done -4\n", "reg done 4294967296\n", "reg  done 4\n", "\n"}) {
        EXPECT_FALSE(ParseJournal(text)) << text;
    }
    EXPECT_EQ(ParseJournal(""), std::vector<Entry>{});
}

TEST(CounterRecord, IsReadBackWholeAndRefusedTornOrCut) {
    const auto record = CounterRecord(0x01020304);
    EXPECT_EQ(CounterOfRecord(record), 0x01020304u);

    auto torn = record;
    torn[kRecordSize - 1] ^= 0xFF;
    EXPECT_FALSE(CounterOfRecord(torn));
    EXPECT_FALSE(CounterOfRecord(std::span(record).first(kRecordSize - 4)));

    std::vector<BYTE> longer(record.begin(), record.end());
    longer.insert(longer.end(), record.begin(), record.begin() + 4);
    EXPECT_FALSE(CounterOfRecord(longer));
}

}  // namespace
}  // namespace crash
