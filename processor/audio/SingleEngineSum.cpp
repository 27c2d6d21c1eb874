#include "SingleEngineSum.h"

#include <algorithm>
#include <cmath>

std::optional<SingleEngineSum> SingleEngineSum::find (
    const std::array<float, numModes>& gains, const std::array<bool, numModes>& running,
    const std::array<std::pair<float, float>, numModes>& held) noexcept
{
    if (std::count (running.begin(), running.end(), true) != 1)
        return {};

    const auto engine = (size_t) (std::find (running.begin(), running.end(), true) - running.begin());
    SingleEngineSum single (engine, gains[engine]);

    for (int channel = 0; channel < 2; ++channel)
    {
        // The zeros before the running engine are summed first; the rest are added one by one.
        auto prefix = -0.0f;
        auto plusZero = false;
        for (size_t k = 0; k < numModes; ++k)
        {
            if (k == engine)
                continue;
            const auto term = (channel == 0 ? held[k].first : held[k].second) * gains[k];
            if (term != 0.0f)
                return {};
            if (k < engine)
                prefix = k == 0 ? term : prefix + term;
            else
                plusZero = plusZero || ! std::signbit (term);
        }
        plusZero = plusZero || (engine > 0 && ! std::signbit (prefix));
        single.zeros[channel] = single.zeros[channel + 2] = plusZero ? 0.0f : -0.0f;
    }
    return single;
}
