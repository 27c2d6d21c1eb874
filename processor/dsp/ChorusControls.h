#pragma once

/** The control values an engine is prepared with (the smoothers' tick values). */
struct ChorusControls
{
    float rate = 0, depth = 0, vibratoRate = 0, vibratoAmount = 0, delay = 0, wet = 0, highpass = 0, lowpass = 0,
          spread = 0;
};
