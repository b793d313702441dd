#include "ui/frmClip.h"

void frmClip::wireViewer() {}
