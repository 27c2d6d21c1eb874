#pragma once

/** The control values an engine is prepared with (the smoothers' tick values). A member also
    stands for the engine's setter of that control (ChorusEngineBase::set). */
struct ChorusControls
{
    float rate = 0, depth = 0, vibratoRate = 0, vibratoAmount = 0, delay = 0, wet = 0, highpass = 0, lowpass = 0,
          spread = 0;
};
