#pragma once

namespace velarix {

// The shell's own settings key for running in the background with a tray icon (the import model
// keeps a separate flag of its own).
inline const char* const kMenuBarExtraKey = "menuBarExtra";

} // namespace velarix
