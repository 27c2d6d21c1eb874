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
    { 0x33dc00fed94d663dull, 0x8f1400d9beaed774ull, 0x0543f9b57adf9f86ull, 0x9693839b62df4885ull, 0x483b32d63f3ad7a7ull,
      0xb7d34a47983c8694ull, 0x9aa07e3cf6626933ull, 0x81d6b27c7198930full, 0x3cffd5637e7d6b6eull, 0x67030555e4657c98ull,
      0xacf3cb1f43266497ull, 0xafbdab2e763b846dull, 0x3c6d2138b9205fd2ull, 0xa0fb0c033a79c8a6ull, 0xfcc343a319759313ull,
      0xbcc8767c8a00fd28ull },
    { 0xe69c012d6353072full, 0x64d742150f120b2dull, 0x2c9f8c69bed05f6cull, 0x80d7a056f1602366ull, 0xb841038a550803b7ull,
      0x4a351a7bce9df869ull, 0x6326549aee4073a8ull, 0x6c0ba6542015e9deull, 0x24ddc230732532beull, 0x55aa32bc34943edcull,
      0x1561a80334fddf4bull, 0x5243c5dcc7c739d6ull, 0x6fdcd5b219e5ed3full, 0xac6aab69f83dd027ull, 0xf89a5b80dfe2fb07ull,
      0xe9df1e9cab51247cull },
    { 0x1c5abaf03645e9a0ull, 0x13f7bc1a0d8a03baull, 0xca770f3ce88882a5ull, 0x2a040540f34c4321ull, 0x1c92ac91b1794f34ull,
      0x07bb75ab4edfb7e8ull, 0x7cf586140a4df71eull, 0xec5c528aa68f081dull, 0xccfdd1ef77725765ull, 0xede46306c044f3a9ull,
      0x6caa840a3717da22ull, 0x3c7b4620afbad4b7ull, 0xa03ba38e5405464eull, 0xaabe5902c1dc8ac3ull, 0x3f17fbf92ab516dbull,
      0xbdf1f7f7e85fabe5ull },
    { 0x456a1e41fa396a9eull, 0x26e07b7316de52ccull, 0x0996ba9f6f990b04ull, 0x053d60c77e535914ull, 0x22b724ff2b92ccedull,
      0x06118dbce17f0dd2ull, 0x1978efef91bd783cull, 0xf4df679b159231baull, 0x1d893e5d277ace9dull, 0x8a0d9971b48b44a1ull,
      0xaade58e01151bccbull, 0xfb3cf6f7e1b6f809ull, 0x59b086e873b97810ull, 0xf08b7a4f8d76dd55ull, 0x6fcd24f4a2dfc964ull,
      0x723d5b00902f3c01ull },
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
