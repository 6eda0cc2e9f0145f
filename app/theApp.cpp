// The program's one application object, constructed before the framework starts.
#include "app/HeadsetApp.h"

CHeadsetApp theApp;
