// Program entry: the one application object (made during static
// initialisation) runs its InitInstance.

#include <windows.h>

#include "framework/win_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return va::RunApplication();
}
