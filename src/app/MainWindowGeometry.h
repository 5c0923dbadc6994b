#pragma once

// Sizes of the main window's editor, in twips.
namespace mainwindow {

// Full size, while the sentence list is hidden.
inline constexpr int kEditorFullHeight = 6225;
inline constexpr int kEditorFullWidth = 10140;
// Height of the editor and of the sentence list while the list shows.
inline constexpr int kCompactHeight = 2400;

} // namespace mainwindow
