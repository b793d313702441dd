#pragma once

class Dialogs;
class InstanceLock;

// The process entry: refuses a second copy, then creates the main window and runs its events.
int Main(int argc, char *argv[]);

// Shows the second-copy message and returns true when another copy holds the lock.
bool refuseSecondInstance(InstanceLock &lock, Dialogs &dialogs);
