// The console's run between the application object's construction and destruction.
#pragma once

// Builds the main window (which starts the station), runs the event loop until the
// window closes, then destroys the window, which ends the run. A window closed while it
// set itself up ends the run at once: the loop is not entered. Returns the loop's result.
int runConsole();
