// The About box's mouse sequence, over every progress value and event, and
// its hidden caption.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "dialogs/about_sequence.h"

namespace {

using E = CalAboutEvent;

// Feeds a sequence of events from progress 0; returns the reveals seen and
// leaves the progress in clicks.
int Feed(std::initializer_list<E> events, int32_t& clicks)
{
    int reveals = 0;
    for (E e : events) {
        const CalAboutStepResult r = CalAboutStep(clicks, e);
        clicks = r.clicks;
        reveals += r.reveal ? 1 : 0;
    }
    return reveals;
}

TEST(AboutSequenceTest, EveryStateAndEvent)
{
    // state -> (right, left, move) as {next, reveal}
    const CalAboutStepResult expected[4][3] = {
        {{1, false}, {0, false}, {0, false}},
        {{0, false}, {2, false}, {0, false}},
        {{3, false}, {0, false}, {0, false}},
        {{0, false}, {0, true}, {0, false}},
    };
    const E events[3] = {E::RightDoubleClick, E::LeftDoubleClick, E::MouseMove};
    for (int32_t s = 0; s < 4; ++s) {
        for (int e = 0; e < 3; ++e) {
            const CalAboutStepResult r = CalAboutStep(s, events[e]);
            EXPECT_EQ(r.clicks, expected[s][e].clicks) << "state " << s << " event " << e;
            EXPECT_EQ(r.reveal, expected[s][e].reveal) << "state " << s << " event " << e;
        }
    }
    // Progress no box can reach counts as none: nothing is revealed from it.
    for (int32_t s : {-1, 4, 1000, INT32_MIN, INT32_MAX})
        for (E e : events)
            EXPECT_EQ(CalAboutStep(s, e).reveal, false) << s;
    EXPECT_EQ(CalAboutStep(-7, E::RightDoubleClick).clicks, 0);
}

TEST(AboutSequenceTest, SequencesAsAUserMakesThem)
{
    int32_t clicks = 0;
    EXPECT_EQ(
        Feed({E::RightDoubleClick, E::LeftDoubleClick, E::RightDoubleClick, E::LeftDoubleClick}, clicks), 1);
    EXPECT_EQ(clicks, 0);
    // Again at once, and twice in a row.
    EXPECT_EQ(Feed({E::RightDoubleClick, E::LeftDoubleClick, E::RightDoubleClick, E::LeftDoubleClick,
                       E::RightDoubleClick, E::LeftDoubleClick, E::RightDoubleClick, E::LeftDoubleClick},
                  clicks),
        2);
    // Movement anywhere in between starts again.
    EXPECT_EQ(
        Feed({E::RightDoubleClick, E::LeftDoubleClick, E::MouseMove, E::RightDoubleClick, E::LeftDoubleClick},
            clicks),
        0);
    EXPECT_EQ(clicks, 2);  // the last two count as a fresh start
    clicks = 0;
    EXPECT_EQ(Feed({E::RightDoubleClick, E::RightDoubleClick}, clicks), 0);
    EXPECT_EQ(clicks, 0);
    // Progress carried over (from a box closed mid-way) completes later.
    clicks = 2;
    EXPECT_EQ(Feed({E::RightDoubleClick, E::LeftDoubleClick}, clicks), 1);
}

TEST(AboutSequenceTest, HiddenCaptionIsTwentyPrintableCharactersStoredScrambled)
{
    ASSERT_EQ(std::strlen(g_hiddenCaption), 20u);
    char caption[100];
    std::memset(caption, 'x', sizeof caption);
    CalRevealCaption(g_hiddenCaption, caption);
    ASSERT_EQ(std::strlen(caption), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_GE(caption[i], ' ');
        EXPECT_LE(caption[i], '~');
        // Scrambling is the inverse: each stored byte is (c ^ 0x7F) + 31.
        EXPECT_EQ(static_cast<unsigned char>(g_hiddenCaption[i]),
            static_cast<unsigned char>((static_cast<unsigned char>(caption[i]) ^ 0x7Fu) + 31u));
    }
    // The plain text is nowhere in the stored form.
    EXPECT_EQ(std::string(g_hiddenCaption).find(caption), std::string::npos);
    // Every repetition starts from the stored text and gives the same.
    char again[100];
    CalRevealCaption(g_hiddenCaption, again);
    EXPECT_STREQ(again, caption);
}

TEST(AboutSequenceTest, RevealStopsWhereAByteBecomesZeroAndNeverOverruns)
{
    char out[100];
    // 0x9E unscrambles to 0: the text ends at it.
    CalRevealCaption("\x51\x3D\x9E\x3A", out);
    EXPECT_EQ(std::strlen(out), 2u);
    // Every single byte value, alone.
    for (int b = 1; b < 256; ++b) {
        const char in[2] = {static_cast<char>(b), '\0'};
        CalRevealCaption(in, out);
        const auto plain = static_cast<unsigned char>(static_cast<unsigned char>(b - 31) ^ 0x7F);
        EXPECT_EQ(std::strlen(out), plain == 0 ? 0u : 1u) << b;
    }
    // A stored text longer than the buffer is cut, terminated.
    const std::string longText(300, '\x51');
    CalRevealCaption(longText.c_str(), out);
    EXPECT_EQ(std::strlen(out), 99u);
}

}  // namespace
