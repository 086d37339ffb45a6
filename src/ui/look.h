#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

#include "app/application_title.h"
#include "app/program_files.h"

class QWidget;

namespace verrolift {

// The windows are laid out in twips (1440 per inch), as designed; the screen's
// logical dpi turns them into pixels (15 twips per pixel at 96 dpi).
inline constexpr int kTwipsPerInch = 1440;
int TwipsToPixels(int twips);
int TwipsToPixels(int twips, double logicalDpi);
QRect TwipsRect(int left, int top, int width, int height);

// Frames, labels, option buttons, check boxes, text boxes and lists.
QFont ControlFont();
// Push buttons.
QFont ButtonFont();

// The system face colour: the palette's button role, so it follows the user's scheme.
void ApplyFaceColor(QWidget* window);
// The designed white background of frames, labels, option buttons and check boxes.
void ApplyDesignBackground(QWidget* window);

// When the skin file (a Qt style sheet) is beside the program: face colour on
// the login window and the style sheet applied to it. Absent: nothing changes.
void ApplySkin(QWidget* loginWindow, const std::string& programFolder);

// Keeps TitleFromProductName(kProductName) for ApplicationTitle.
void SetApplicationTitle();
// The caption of every message box that names none of its own.
QString ApplicationTitle();

// The icon of both windows: packaging/verrolift.svg, as installed with the desktop entry.
QIcon ApplicationIcon();

// A Windows cursor file read through Qt's image reader, with its hot spot.
// A file that cannot be read gives nothing.
std::optional<QCursor> LoadCursorFile(const std::string& path);

}  // namespace verrolift
