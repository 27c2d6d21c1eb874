#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "DelayLines.h"
#include "EngineBlock.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "WetDryLaw.h"

#include <juce_core/juce_core.h>

#include <algorithm>

/** Whether an engine has the Vibrato Rate and Vibrato Amount controls. */
enum class Vibrato
{
    without,
    with
};

/** What the four engines share: the controls every mode has and their setters, the start of
    prepare, the input and the delay lines, the stages after them, and the wrappers that hand any
    number of samples to the engine's processBlock. An engine derives from it with itself as Engine
    and supplies, called without virtual dispatch:
    - processBlock (inL, inR, frames, numSamples), for at most engineBlockSize samples;
    - applyRate(), which hands rate to its oscillators, and with a vibrato applyVibratoRate();
    - optionally applyWet (value), for gains of its own that follow the Wet control. */
template <typename Engine, int numLines, Vibrato vibrato>
class ChorusEngineBase
{
public:
    void setRate (float value) noexcept
    {
        if (value != rate)
        {
            rate = value;
            engine().applyRate();
        }
    }

    void setDepth (float value) noexcept { depth = value; }
    void setDelay (float value) noexcept { delay = value; }

    void setWet (float value) noexcept
    {
        wetDry.setWet (value);
        engine().applyWet (value);
    }

    void setHighpass (float value) noexcept { toneFilters.setHighpass (sampleRate, value); }
    void setLowpass (float value) noexcept { toneFilters.setLowpass (sampleRate, value); }
    void setSpread (float value) noexcept { width.setSpread (value); }

    void setVibratoRate (float value) noexcept
    {
        static_assert (vibrato == Vibrato::with, "this engine has no vibrato");
        if (value != vibratoRate)
        {
            vibratoRate = value;
            engine().applyVibratoRate();
        }
    }

    void setVibratoAmount (float value) noexcept
    {
        static_assert (vibrato == Vibrato::with, "this engine has no vibrato");
        vibratoAmount = value * 0.5f;
    }

    /** Whether the engine has a setter for the control that fills that member of ChorusControls. */
    static constexpr bool hasSetter (float ChorusControls::*control) noexcept
    {
        const auto isVibrato = control == &ChorusControls::vibratoRate || control == &ChorusControls::vibratoAmount;
        return control != nullptr && (vibrato == Vibrato::with || ! isVibrato);
    }

    /** Hands value to the setter of the control that fills that member of ChorusControls; a control
        the engine has no setter for does not compile. */
    template <float ChorusControls::*control>
    void set (float value) noexcept
    {
        static_assert (hasSetter (control), "this engine has no setter for the control");

        if constexpr (control == &ChorusControls::rate)
            setRate (value);
        else if constexpr (control == &ChorusControls::depth)
            setDepth (value);
        else if constexpr (control == &ChorusControls::delay)
            setDelay (value);
        else if constexpr (control == &ChorusControls::wet)
            setWet (value);
        else if constexpr (control == &ChorusControls::highpass)
            setHighpass (value);
        else if constexpr (control == &ChorusControls::lowpass)
            setLowpass (value);
        else if constexpr (control == &ChorusControls::spread)
            setSpread (value);
        else if constexpr (control == &ChorusControls::vibratoRate)
            setVibratoRate (value);
        else if constexpr (control == &ChorusControls::vibratoAmount)
            setVibratoAmount (value);
        else
            static_assert (! hasSetter (control), "a control of ChorusControls lacks its setter here");
    }

    /** numSamples steps; frames receives the output pairs, left and right interleaved. */
    void process (const float* inL, const float* inR, float* frames, int numSamples) noexcept
    {
        for (int start = 0; start < numSamples; start += engineBlockSize)
            engine().processBlock (inL + start, inR + start, frames + 2 * start,
                                   std::min (engineBlockSize, numSamples - start));
    }

    void processSample (float inL, float inR, float& outL, float& outR) noexcept
    {
        float frame[2];
        engine().processBlock (&inL, &inR, frame, 1);
        outL = frame[0];
        outR = frame[1];
    }

    /** The delays the lines read at the last sample. Two lines: channel 0 is the left line, 1 the
        right one. Four: line A and line B of each channel. */
    float delayMs (int channel) const noexcept
    {
        static_assert (numLines == 2, "four lines are line A and line B");
        return lines.getDelayMs (channel);
    }

    float lineADelayMs (int channel) const noexcept
    {
        static_assert (numLines == 4, "two lines are one per channel");
        return lines.getDelayMs (channel);
    }

    float lineBDelayMs (int channel) const noexcept
    {
        static_assert (numLines == 4, "two lines are one per channel");
        return lines.getDelayMs (2 + channel);
    }

protected:
    ChorusEngineBase() = default;

    /** The start of every engine's prepare: takes the sample rate, the output channel count and the
        controls, and rebuilds the delay lines and DC blockers (the only allocation). The engine
        applies the rates itself once its oscillators are ready for the new sample rate. */
    void prepareShared (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
    {
        static_assert (sizeof (ChorusControls) == 9 * sizeof (float),
                       "every control of ChorusControls is taken below: take the new one too, then count it here");

        sampleRate = newSampleRate;
        numOutputChannels = newNumOutputChannels;

        rate = controls.rate;
        depth = controls.depth;
        delay = controls.delay;
        if constexpr (vibrato == Vibrato::with)
        {
            vibratoRate = controls.vibratoRate;
            setVibratoAmount (controls.vibratoAmount);
        }

        setHighpass (controls.highpass);
        setLowpass (controls.lowpass);
        setWet (controls.wet);
        setSpread (controls.spread);

        lines.prepare (sampleRate);
        dcBlockers = {};
    }

    /** The Wet control moves only the wet/dry law, unless the engine hides this. */
    void applyWet (float) noexcept {}

    /** Runs the delay lines on numSamples input pairs: in[i] receives input pair i, wet[i] what the
        lines give with the delays delayAt (i), which is called for each i in turn. */
    template <typename DelayAt>
    void runLines (const float* inL, const float* inR, Simd::Float4* in, Simd::Float4* wet, int numSamples,
                   DelayAt&& delayAt) noexcept
    {
        Simd::Float4 delayMs[engineBlockSize];
        for (int i = 0; i < numSamples; ++i)
        {
            in[i] = stereoInput (inL, inR, i);
            delayMs[i] = delayAt (i);
        }
        lines.process (delayMs, in, wet, numSamples);
    }

    /** The chain after the delay lines of the Sixty, Ensemble and Quad engines: highpass, lowpass, DC
        blocker, width stage and the wet/dry law with wetScale, on wet (i) against the dry input in[i],
        into frames. One loop, so that the processor overlaps the filters' recurrences. */
    template <typename Wet>
    void finishWetChain (Wet&& wet, const Simd::Float4* in, float* frames, int numSamples, float wetScale) noexcept
    {
        auto dc = dcBlockers; // a local, so that the stores into frames do not force it back to memory
        const auto law = wetDry;
        const auto outputs = numOutputChannels;
        toneFilters.process (numSamples, wet,
                             [&] (int i, Simd::Float4 toned)
                             {
                                 const auto w = width.process (dc.process (toned));
                                 storeFrame (law.mix (w, in[i], wetScale), frames, i, outputs);
                             });
        dcBlockers = dc;
    }

    double sampleRate = 44100.0;
    int numOutputChannels = 2;
    float rate = 0.0f;
    float depth = 0.0f;
    float vibratoRate = 0.0f;
    float vibratoAmount = 0.0f; // the Vibrato Amount control, halved
    float delay = 0.0f;
    WetDryLaw wetDry;
    StereoWidth width;
    DelayLines<numLines> lines; // with four: line A left, line A right, line B left, line B right
    BasicDcBlocker<Simd::Float4> dcBlockers;
    ToneFilters toneFilters;

private:
    Engine& engine() noexcept { return static_cast<Engine&> (*this); }
};
