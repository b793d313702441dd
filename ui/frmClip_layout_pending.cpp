#include "ui/frmClip.h"

void frmClip::txtText_Change() {}
