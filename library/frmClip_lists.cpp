#include "ui/frmClip.h"

void frmClip::wireLists() {}
