#include "TestSupport.h"

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // Every test runs with a message thread, as the plug-in does inside a host.
    juce::ScopedJuceInitialiser_GUI juce;

    // No test may read or write the real user's data folder.
    ScopedDataHome dataHome;

    return RUN_ALL_TESTS();
}
