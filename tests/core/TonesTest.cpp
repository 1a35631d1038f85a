#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ScriptedDialogs.h"
#include "tools/Tones.h"

using namespace pictra;

namespace {
int peak(const std::vector<std::int16_t>& s) {
    int p = 0;
    for (auto v : s) p = std::max(p, std::abs(static_cast<int>(v)));
    return p;
}
}  // namespace

TEST(ToneSynthesis, SampleCountAndAmplitudeFollowLengthAndVolume) {
    auto tone = synthesizeTone(440.0, 100, 100);
    EXPECT_EQ(tone.size(), 2205u);
    EXPECT_EQ(tone[0], 0);
    EXPECT_EQ(peak(tone), 3200);
    EXPECT_EQ(peak(synthesizeTone(440.0, 1000, 50)), 1600);
    EXPECT_EQ(synthesizeTone(440.0, 1000, 50).size(), 22050u);
    // A quarter period of 5512.5 Hz is one sample: the second sample sits at the crest.
    EXPECT_EQ(synthesizeTone(5512.5, 10, 100)[1], 3200);
}

TEST(ToneSynthesis, VolumeZeroIsSilence) {
    auto tone = synthesizeTone(440.0, 100, 0);
    EXPECT_EQ(tone.size(), 2205u);
    EXPECT_EQ(peak(tone), 0);
}

struct ToneCase {
    std::string duration;
    std::string volume;
    size_t samples;  // 0: nothing played
    int peak;
};

class TonesFromSettings : public ::testing::TestWithParam<ToneCase> {};

TEST_P(TonesFromSettings, LengthAndVolumeComeFromTheSettings) {
    SettingsStore store;
    store.writeValue("Einstellungen", "Tondauer", GetParam().duration);
    store.writeValue("Einstellungen", "Tonstaerke", GetParam().volume);
    test::RecordingSound sound;
    Tones tones(store, sound);
    tones.tone(880.0);
    if (GetParam().samples == 0) {
        EXPECT_TRUE(sound.played.empty());
        return;
    }
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played[0].size(), GetParam().samples);
    EXPECT_EQ(peak(sound.played[0]), GetParam().peak);
}

INSTANTIATE_TEST_SUITE_P(Cases, TonesFromSettings,
                         ::testing::Values(ToneCase{"", "", 2205, 3200}, ToneCase{"200", "10", 4410, 320},
                                           ToneCase{"100001", "", 2205, 3200}, ToneCase{"-5", "", 2205, 3200},
                                           ToneCase{"100000", "1", 2205000, 32}, ToneCase{"0", "", 0, 0},
                                           ToneCase{"", "0", 0, 0}));

TEST(Tones, ChimeIsThreeTonesInOneBufferAndMutingSilencesAll) {
    SettingsStore store;
    test::RecordingSound sound;
    Tones tones(store, sound);
    tones.chime();
    ASSERT_EQ(sound.played.size(), 1u);
    ASSERT_EQ(sound.played[0].size(), 3 * 2205u);
    const auto first = synthesizeTone(440.0, 100, 100);
    const auto third = synthesizeTone(660.0, 100, 100);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), sound.played[0].begin()));
    EXPECT_TRUE(std::equal(third.begin(), third.end(), sound.played[0].begin() + 2 * 2205));
    tones.setMuted(true);
    tones.chime();
    tones.errorTone();
    EXPECT_EQ(sound.played.size(), 1u);
}
