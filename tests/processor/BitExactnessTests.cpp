#include "support/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iomanip>
#include <iterator>
#include <limits>
#include <sstream>

// The audio path is tuned for speed; none of that may change a single output sample. Each case
// renders seeded noise under seeded automation and compares a hash of the raw output bits (and of
// the meter peaks) with the hash recorded for it. A deliberate change of the sound changes these
// hashes too; the failure message prints the new table.
namespace
{
constexpr double sampleRates[] { 8000.0, 44100.0, 48000.0, 96000.0 };

struct Layout
{
    int ins, outs;
};

constexpr Layout layouts[] { { 2, 2 }, { 1, 2 }, { 1, 1 }, { 2, 1 } };

class Fnv1a
{
public:
    void add (float value) noexcept
    {
        std::uint32_t bits;
        std::memcpy (&bits, &value, sizeof bits);
        for (int shift = 0; shift < 32; shift += 8)
            hash = (hash ^ ((bits >> shift) & 0xffu)) * 0x100000001b3ull;
    }

    std::uint64_t value() const noexcept { return hash; }

private:
    std::uint64_t hash = 0xcbf29ce484222325ull;
};

/** Input: noise, then silence long enough for every filter and DC blocker to settle to exact
    zeros, then negative zeros and denormals, which take other paths through the arithmetic. */
float inputSample (juce::Random& random, int index)
{
    const auto position = index % 65000;
    if (position < 20000)
        return random.nextFloat() - 0.5f;
    if (position < 50000)
        return 0.0f;
    if (position < 60000)
        return -0.0f;
    return std::numeric_limits<float>::denorm_min() * (float) (1 + random.nextInt (1000));
}

std::uint64_t render (double sampleRate, Layout layout, int startMode)
{
    QexTidewellAudioProcessor processor;
    EXPECT_TRUE (setLayout (processor, layout.ins, layout.outs));

    juce::Random random ((juce::int64) sampleRate + 7 * layout.ins + 13 * layout.outs + 101 * startMode);
    setParameter (processor, "paramChorusMode", (float) startMode);

    constexpr int largestMaxBlock = 563;
    const auto announcedSize = [&random] { return 64 + random.nextInt (largestMaxBlock - 63); };
    auto maxBlock = announcedSize();
    prepareToPlay (processor, sampleRate, maxBlock);

    auto* const modeParameter = processor.parameters.getParameter ("paramChorusMode");
    auto* const bypassParameter = processor.parameters.getParameter ("paramBypassGlobal");
    juce::Array<juce::AudioProcessorParameter*> controls;
    for (auto* parameter : processor.getParameters())
        if (parameter != modeParameter && parameter != bypassParameter)
            controls.add (parameter);

    const auto channels = juce::jmax (layout.ins, layout.outs);
    const auto total = juce::jmax (140000, (int) (2.0 * sampleRate));
    juce::AudioBuffer<float> buffer (channels, 3 * largestMaxBlock);
    juce::MidiBuffer midi;
    Fnv1a hash;

    for (int done = 0, block = 0; done < total; ++block)
    {
        // Busy stretches with many changes alternate with quiet ones where only ramps move.
        const auto busy = (block / 40) % 3 == 1;
        const auto chance = [&random, busy] (float busyChance, float quietChance)
        { return random.nextFloat() < (busy ? busyChance : quietChance); };

        if (chance (0.3f, 0.01f))
            controls[random.nextInt (controls.size())]->setValueNotifyingHost (random.nextFloat());
        if (chance (0.05f, 0.005f))
            setParameter (processor, "paramChorusMode", (float) random.nextInt (4));
        if (chance (0.04f, 0.003f))
            bypassParameter->setValueNotifyingHost (bypassParameter->getValue() < 0.5f ? 1.0f : 0.0f);
        if (chance (0.01f, 0.0f))
            processor.resetSmootherValues();
        if (chance (0.004f, 0.0f))
        {
            maxBlock = announcedSize();
            processor.prepareToPlay (sampleRate, maxBlock);
        }

        // Mostly blocks up to the announced size, now and then one the processor has to slice.
        auto length = 1 + random.nextInt (maxBlock);
        if (random.nextInt (50) == 0)
            length = maxBlock + 1 + random.nextInt (2 * maxBlock);
        length = juce::jmin (length, total - done);

        juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), channels, 0, length);
        for (int channel = 0; channel < channels; ++channel)
            for (int i = 0; i < length; ++i)
                view.setSample (channel, i, inputSample (random, done + i));

        processor.processBlock (view, midi);

        for (int channel = 0; channel < layout.outs; ++channel)
            for (int i = 0; i < length; ++i)
                hash.add (view.getSample (channel, i));
        hash.add (processor.takeOutputPeak (false));
        hash.add (processor.takeOutputPeak (true));

        done += length;
    }

    return hash.value();
}

// Rows: sample rates as above. Columns: layouts as above, each with start modes 0 to 3.
constexpr std::uint64_t expectedHashes[std::size (sampleRates)][std::size (layouts) * 4] {
    { 0x8262c439568d2b5eull, 0xbcd11b67f04857a5ull, 0x1e4e1b3d20182ec7ull, 0x9693839b62df4885ull, 0x483b32d63f3ad7a7ull,
      0xb7d34a47983c8694ull, 0x48af2746d64d6743ull, 0xc630fa6bfa9f346cull, 0x3cffd5637e7d6b6eull, 0xc2146414568c1418ull,
      0xacf3cb1f43266497ull, 0xfc17dfcae0406b6eull, 0x4554fcb6e721d00eull, 0xa0fb0c033a79c8a6ull, 0x9434dd56ce117ff7ull,
      0x71549baad7af70ddull },
    { 0xe69c012d6353072full, 0x2ef7d818abe0c640ull, 0x4bc0b6cd302eab63ull, 0xb6290ad14dbea146ull, 0xe2d179218d9bdd8cull,
      0x4a351a7bce9df869ull, 0x97407c0043623259ull, 0xcbd585aa519588d5ull, 0x8365c5c39e11d9ecull, 0xa6ac46acb2d3eca9ull,
      0x596e75337a0c7badull, 0xb5f9dd804f32251full, 0x2172346741bb25d3ull, 0xac6aab69f83dd027ull, 0xf89a5b80dfe2fb07ull,
      0x4ba02b46a597470bull },
    { 0x237e4a7150177285ull, 0x3f90c60e1b719712ull, 0xb0e8d8feb055fb55ull, 0xe1d6017a2116024dull, 0x5d6a548c7c5063b8ull,
      0xcd1b64caa3955384ull, 0xc0186771357d0730ull, 0xaba5845fda9bb047ull, 0x9b6f28538a50e4ebull, 0xf6980da801719ee3ull,
      0xc2c2ea44aeaea7b4ull, 0x69fc8fa22fe0ec4full, 0xc9dbbaf4b5897211ull, 0x24ccf99b13175b37ull, 0x78809ade2442d97bull,
      0x0eb37b7a1bb55ddfull },
    { 0x8fbcba33e527938aull, 0x34b9640943892eabull, 0xab5d0bc719834d35ull, 0x189d7afeb3e4b0e1ull, 0xf6fd756e8630e846ull,
      0xc11d3d05b7a13d0eull, 0x2f8478604f51b375ull, 0x1f014f5586134bdeull, 0x13fa68dbc42be228ull, 0x9c8ded3d190e3873ull,
      0x20f1576dfadbc674ull, 0x113ecf7dfae137b5ull, 0xa015698773cdf4caull, 0xafbe5b2bcae05924ull, 0x485b5638684b27bcull,
      0x2e6a48a13599e74bull },
};
} // namespace

TEST (BitExactness, everyModeLayoutAndRateUnderAutomationRendersTheRecordedSamples)
{
    std::uint64_t actual[std::size (sampleRates)][std::size (layouts) * 4];

    for (size_t r = 0; r < std::size (sampleRates); ++r)
        for (size_t l = 0; l < std::size (layouts); ++l)
            for (int mode = 0; mode < 4; ++mode)
            {
                const auto column = 4 * l + (size_t) mode;
                actual[r][column] = render (sampleRates[r], layouts[l], mode);
                EXPECT_EQ (actual[r][column], expectedHashes[r][column])
                    << sampleRates[r] << " Hz, " << layouts[l].ins << " in, " << layouts[l].outs
                    << " out, starting in mode " << mode;
            }

    if (testing::Test::HasFailure())
    {
        std::ostringstream table;
        table << "Rendered hashes:\n" << std::hex << std::setfill ('0');
        for (const auto& row : actual)
        {
            table << "    {";
            for (const auto value : row)
                table << " 0x" << std::setw (16) << value << "ull,";
            table << " },\n";
        }
        ADD_FAILURE() << table.str();
    }
}
