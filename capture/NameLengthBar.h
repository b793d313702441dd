#pragma once

class QScrollBar;

// Turns the vertical name-length bar into a spinner whose up arrow gives the longer name, as a
// spin box does: the largest value is drawn at the top, and the arrows and the trough step towards
// the end they show, and so do the keys and the wheel.
void makeUpArrowIncrease(QScrollBar &bar);
