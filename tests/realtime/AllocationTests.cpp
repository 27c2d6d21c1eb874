#include "support/AudioTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every allocation in this program passes through here; while a thread is inside processBlock
// its allocations are counted.
namespace
{
thread_local bool countingThisThread = false;
std::atomic<int> allocationsWhileCounting { 0 };

void* allocate (std::size_t size)
{
    if (countingThisThread)
        allocationsWhileCounting.fetch_add (1);

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}

struct CountAllocations
{
    CountAllocations() { countingThisThread = true; }
    ~CountAllocations() { countingThisThread = false; }
};
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return std::malloc (size == 0 ? 1 : size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return std::malloc (size == 0 ? 1 : size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

TEST (RealTime, processBlockAllocatesNothingAcrossModesBypassAutomationAndBlockSizes)
{
    ScopedDataHome home;
    QexTidewellAudioProcessor processor;
    constexpr int maxBlock = 256;
    prepareToPlay (processor, 48000.0, maxBlock);

    juce::MidiBuffer midi;
    auto noise = makeNoise (2, maxBlock);
    auto buffer = noise;
    juce::Random random (7);

    {
        CountAllocations counting;
        processor.processBlock (buffer, midi); // the first block may warm anything up
    }
    allocationsWhileCounting = 0;

    const char* automated[] = { "paramSixtyRate", "paramStudioWet", "paramEnsembleTone", "paramQuadVibRate",
                                "paramSpread",    "paramGain",      "paramQuadHighpass", "paramStudioDepth" };

    for (int round = 0; round < 400; ++round)
    {
        if (round % 40 == 0)
            setParameter (processor, "paramChorusMode", (float) ((round / 40) % 4));
        if (round % 50 == 25)
            setParameter (processor, "paramBypassGlobal", (float) ((round / 50) % 2));
        if (round % 3 == 0)
        {
            auto* p = processor.parameters.getParameter (automated[random.nextInt (8)]);
            p->setValueNotifyingHost (random.nextFloat());
        }
        if (round % 97 == 0)
            restoreState (processor, stateOf (processor));

        const auto blockSize = round < maxBlock ? 1 + round : 1 + random.nextInt (maxBlock);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, 0, juce::jmin (blockSize, maxBlock));
        block.copyFrom (0, 0, noise, 0, 0, block.getNumSamples());
        block.copyFrom (1, 0, noise, 1, 0, block.getNumSamples());

        CountAllocations counting;
        processor.processBlock (block, midi);
    }

    // Blocks longer than announced are sliced, not reallocated for.
    juce::AudioBuffer<float> longBlock (2, maxBlock * 3);
    longBlock.clear();
    {
        CountAllocations counting;
        processor.processBlock (longBlock, midi);
    }

    EXPECT_EQ (allocationsWhileCounting.load(), 0);
}
