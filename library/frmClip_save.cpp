#include "ui/frmClip.h"

void frmClip::wireFileCommands() {}
