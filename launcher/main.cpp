#include <windows.h>

#include "launcher/hand_off.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showState) {
    // The command tail is ignored: the runner gets the whole command line.
    return link14::LauncherMain(link14::SystemPlatform(), showState);
}
