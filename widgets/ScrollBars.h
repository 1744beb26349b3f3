// Scroll bars of a window's scrolled contents in the console's colours.
#pragma once

class QAbstractScrollArea;

void styleScrollBars(QAbstractScrollArea *area);
