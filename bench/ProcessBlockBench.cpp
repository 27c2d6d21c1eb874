// Cost of processBlock per stereo frame, next to juce::dsp::Chorus measured in the same run.
// Run: build with -DTIDEWELL_BUILD_BENCH=ON, then bench/tidewell_bench. The last lines print
// every case as a ratio to the peer at the same sample rate and block size.

#include "processor/PluginProcessor.h"
#include "processor/params/ControlTable.h"

#include <juce_dsp/juce_dsp.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

namespace
{
struct Setting
{
    double sampleRate;
    int blockSize;
};

const Setting settings[] = { { 48000.0, 512 }, { 44100.0, 64 } };

// Each iteration times this many blocks in a row with a clock of its own; parameter changes happen
// between iterations, outside the timed span, without the cost of pausing the benchmark's timers.
constexpr int blocksPerIteration = 32;

template <typename ProcessOneBlock>
void timeBlocks (benchmark::State& state, ProcessOneBlock&& processOneBlock)
{
    const auto start = std::chrono::steady_clock::now();
    for (int block = 0; block < blocksPerIteration; ++block)
        processOneBlock();
    state.SetIterationTime (std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count());
}

juce::AudioBuffer<float> noise (int numSamples)
{
    juce::Random random (42);
    juce::AudioBuffer<float> buffer (2, numSamples);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, random.nextFloat() - 0.5f);
    return buffer;
}

void setParameter (QexTidewellAudioProcessor& processor, const juce::String& id, float value)
{
    auto* p = processor.parameters.getParameter (id);
    p->setValueNotifyingHost (p->convertTo0to1 (value));
}

enum class Case
{
    steady,
    ramping,
    crossfade,
    spread,
    bypass
};

void processorCase (benchmark::State& state, int mode, Case kind, Setting setting)
{
    // Presets and settings of the benchmark stay out of the user's folders.
    const auto home = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("tidewell-bench");
    setenv ("XDG_DATA_HOME", home.getFullPathName().toRawUTF8(), 1);

    QexTidewellAudioProcessor processor;
    setParameter (processor, "paramChorusMode", (float) mode);
    if (kind == Case::spread)
        setParameter (processor, "paramSpread", 150.0f);
    if (kind == Case::bypass)
        setParameter (processor, "paramBypassGlobal", 1.0f);
    processor.setRateAndBufferSizeDetails (setting.sampleRate, setting.blockSize);
    processor.prepareToPlay (setting.sampleRate, setting.blockSize);

    const auto input = noise (setting.blockSize);
    auto buffer = input;
    juce::MidiBuffer midi;
    const auto prefix = "param" + juce::String (ControlTable::modes[(size_t) mode].name);
    juce::StringArray modeParameters;
    for (auto* p : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (p); ranged->getParameterID().startsWith (prefix))
            modeParameters.add (ranged->getParameterID());

    int iteration = 0;
    bool upwards = true;
    for (auto _ : state)
    {
        if (kind == Case::ramping && iteration % 2 == 0)
        {
            // New targets for every control of the mode keep all its smoothers ramping.
            for (const auto& id : modeParameters)
                processor.parameters.getParameter (id)->setValueNotifyingHost (upwards ? 0.9f : 0.1f);
            upwards = ! upwards;
        }
        if (kind == Case::crossfade)
        {
            // Switch back and forth between two modes so that two engines always run.
            setParameter (processor, "paramChorusMode", (float) (upwards ? (mode + 1) % 4 : mode));
            upwards = ! upwards;
        }

        timeBlocks (state,
                    [&]
                    {
                        buffer.makeCopyOf (input, true);
                        processor.processBlock (buffer, midi);
                        benchmark::DoNotOptimize (buffer.getReadPointer (0));
                    });
        ++iteration;
    }

    state.SetItemsProcessed (state.iterations() * blocksPerIteration * setting.blockSize);
}

void peerCase (benchmark::State& state, Setting setting)
{
    juce::dsp::Chorus<float> chorus;
    chorus.prepare ({ setting.sampleRate, (juce::uint32) setting.blockSize, 2 });
    chorus.setRate (0.86f);
    chorus.setMix (0.5f);

    const auto input = noise (setting.blockSize);
    auto buffer = input;

    for (auto _ : state)
        timeBlocks (state,
                    [&]
                    {
                        buffer.makeCopyOf (input, true);
                        juce::dsp::AudioBlock<float> block (buffer);
                        chorus.process (juce::dsp::ProcessContextReplacing<float> (block));
                        benchmark::DoNotOptimize (buffer.getReadPointer (0));
                    });

    state.SetItemsProcessed (state.iterations() * blocksPerIteration * setting.blockSize);
}

juce::String settingName (Setting s)
{
    return juce::String (s.sampleRate / 1000.0, 1) + "kHz/" + juce::String (s.blockSize);
}

/** Prints the usual table, then every processor case as a ratio to the peer of its setting. */
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns (const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns (runs);
        for (const auto& run : runs)
            perFrame[caseName (run)] = run.GetAdjustedRealTime() / (double) itemsPerIteration (run);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf ("\nCost per stereo frame as a ratio to juce::dsp::Chorus<float>:\n");
        for (const auto& [name, cost] : perFrame)
        {
            const auto setting = name.substr (name.rfind ('/', name.rfind ('/') - 1) + 1);
            const auto peer = perFrame.find ("peer/" + setting);
            if (name.rfind ("peer/", 0) == 0 || peer == perFrame.end())
                continue;
            std::printf ("  %-40s %6.2f\n", name.c_str(), cost / peer->second);
        }
    }

private:
    /** The registered name, without the suffix that manual timing adds. */
    static std::string caseName (const Run& run)
    {
        auto name = run.benchmark_name();
        const std::string suffix = "/manual_time";
        if (name.size() > suffix.size() && name.compare (name.size() - suffix.size(), suffix.size(), suffix) == 0)
            name.resize (name.size() - suffix.size());
        return name;
    }

    static double itemsPerIteration (const Run& run)
    {
        const auto name = caseName (run);
        return blocksPerIteration * std::stod (name.substr (name.rfind ('/') + 1));
    }

    std::map<std::string, double> perFrame;
};
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    for (const auto setting : settings)
    {
        const auto suffix = settingName (setting).toStdString();
        benchmark::RegisterBenchmark (("peer/" + suffix).c_str(), peerCase, setting)->UseManualTime();

        for (int mode = 0; mode < (int) ControlTable::numModes; ++mode)
        {
            const std::string mode_name = ControlTable::modes[(size_t) mode].name;
            const std::pair<Case, const char*> cases[] = { { Case::steady, "steady" },
                                                           { Case::ramping, "ramping" },
                                                           { Case::crossfade, "crossfade" },
                                                           { Case::spread, "spread" },
                                                           { Case::bypass, "bypass" } };
            for (const auto& [kind, kindName] : cases)
                benchmark::RegisterBenchmark ((mode_name + "-" + kindName + "/" + suffix).c_str(), processorCase, mode,
                                              kind, setting)
                    ->UseManualTime();
        }
    }

    benchmark::Initialize (&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    benchmark::Shutdown();
    return 0;
}
