// The one application object, constructed at default priority: after the
// ordered stages of static_start.cpp.

#include "installer/install_app.h"

namespace {

va::CInstallApp theApp;

}  // namespace
