#include "MetersPanel.h"

MetersPanel::MetersPanel (QexTidewellAudioProcessor& processor) : audioProcessor (processor) {}

MetersPanel::~MetersPanel() = default;
