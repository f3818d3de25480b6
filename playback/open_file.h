#pragma once
// Opening a single movie from the panel's open-file button.

namespace vf {

class MainPanel;
class OpenFileDialog;

// Asks for a movie with the dialog and plays it in the player window. A
// cancel changes nothing; every other step runs even when one before it
// could not be done.
void openSingleFile(MainPanel& main, OpenFileDialog& cd);

} // namespace vf
