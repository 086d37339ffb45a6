#include "ui_harness.h"

#include <cmath>
#include <filesystem>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "base/settings_store.h"

namespace verrolift::test {

int Px(int twips) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

void ExpectControl(QWidget* w, const ControlCase& c, const QString& caption) {
    EXPECT_TRUE(w->inherits(c.kind)) << w->metaObject()->className();
    EXPECT_EQ(caption.toStdString(), c.caption);
    EXPECT_EQ(w->parentWidget()->objectName().toStdString(), c.container);
    EXPECT_EQ(w->geometry(), QRect(Px(c.left), Px(c.top), Px(c.width), Px(c.height)));
    const bool isButton = qobject_cast<QPushButton*>(w) != nullptr;
    EXPECT_EQ(w->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(w->font().weight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(w->font().pointSizeF(), isButton ? 11.25 : 9.0);
}

ProgramHarness::ProgramHarness() : programFolder(dir.File("bin")), settings(dir.File("config")) {
    std::filesystem::create_directories(programFolder);
}

ProgramHarness::~ProgramHarness() = default;

void ProgramHarness::SaveProfile(const std::string& sid, const std::string& user,
                                 const std::string& password) {
    settings.SaveSetting(kSettingsApplication, kSettingsSection, keys::kOracleSid, sid);
    settings.SaveSetting(kSettingsApplication, kSettingsSection, keys::kOracleUser, user);
    settings.SaveSetting(kSettingsApplication, kSettingsSection, keys::kOraclePassword, password);
}

std::string ProgramHarness::Stored(const char* key) {
    return settings.GetSetting(kSettingsApplication, kSettingsSection, key, "<absent>");
}

Program& ProgramHarness::Start() {
    ProgramOptions options;
    options.dialogs = &dialogs;
    options.settings = &settings;
    options.programFolder = programFolder;
    options.random = [this] { return randomFraction; };
    options.openUrl = [this](const std::string& address) {
        openedAddresses.push_back(address);
        return !refuseUrls;
    };
    // Every yield lets the events through: what a test posts runs at the next yield.
    options.yieldIntervalMs = 0;
    options.progressIntervalMs = progressIntervalMs;
    options.onEnd = [this] { ++ends; };
    program_ = std::make_unique<Program>(std::move(options));
    program_->Start();
    return *program_;
}

namespace {
void PutLe(std::string& out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}
}  // namespace

// A 32 x 32 Windows cursor file: one 32-bit image with its AND mask.
std::string CursorFileBytes(unsigned hotX, unsigned hotY) {
    const unsigned size = 32;
    std::string image;
    PutLe(image, 40, 4);
    PutLe(image, size, 4);
    PutLe(image, size * 2, 4);  // colour image and mask
    PutLe(image, 1, 2);
    PutLe(image, 32, 2);
    PutLe(image, 0, 4);
    PutLe(image, size * size * 4 + size * 4, 4);
    PutLe(image, 0, 4);
    PutLe(image, 0, 4);
    PutLe(image, 0, 4);
    PutLe(image, 0, 4);
    for (unsigned y = 0; y < size; ++y)
        for (unsigned x = 0; x < size; ++x) PutLe(image, x < 16 ? 0xff203040u : 0x00000000u, 4);
    for (unsigned y = 0; y < size; ++y) PutLe(image, 0x0000ffffu, 4);

    std::string file;
    PutLe(file, 0, 2);
    PutLe(file, 2, 2);  // a cursor
    PutLe(file, 1, 2);
    file += static_cast<char>(size);
    file += static_cast<char>(size);
    file += '\0';
    file += '\0';
    PutLe(file, hotX, 2);
    PutLe(file, hotY, 2);
    PutLe(file, static_cast<unsigned>(image.size()), 4);
    PutLe(file, 6 + 16, 4);
    return file + image;
}

void MovePointerOver(QWidget* widget, QPoint at) {
    // Lists take the pointer on their viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) widget = area->viewport();
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

bool OwnEnabled(const QWidget* widget) {
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

}  // namespace verrolift::test
