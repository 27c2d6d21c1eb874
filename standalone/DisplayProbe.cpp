#include "DisplayCheck.h"

// Lets the run command find out, before it starts the Standalone, whether it could open its
// display: exits with success when it could.
int main() { return DisplayCheck::displayOpens() ? 0 : 1; }
