#include "ui/qt_settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/failure.h"

namespace verrolift {

namespace {

QString Local(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

#ifndef _WIN32
// Creates the file owner-only before QSettings writes it: QSettings replaces
// the file through a temporary copy that keeps the permissions it finds.
void MakePrivate(const std::string& path) {
    const std::string folder = Bytes(QFileInfo(QString::fromLocal8Bit(path)).absolutePath());
    if (!QDir().mkpath(QString::fromLocal8Bit(folder)))
        throw Failure("Cannot create the settings folder " + folder);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw Failure("Cannot create the settings file " + path);
    const int rc = ::fchmod(fd, 0600);
    ::close(fd);
    if (rc != 0) throw Failure("Cannot protect the settings file " + path);
}
#endif

}  // namespace

QtSettingsStore::QtSettingsStore()
    : configRoot_(Bytes(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))) {}

QtSettingsStore::QtSettingsStore(std::string configRoot) : configRoot_(std::move(configRoot)) {}

std::string QtSettingsStore::Location(std::string_view application) const {
#ifdef _WIN32
    return "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\" + std::string(application);
#else
    return configRoot_ + "/" + std::string(application) + "/" + std::string(application) + ".conf";
#endif
}

std::string QtSettingsStore::GetSetting(std::string_view application, std::string_view section,
                                        std::string_view key, std::string_view defaultValue) {
    // A fresh QSettings per call: every read goes to the store.
#ifdef _WIN32
    QSettings settings(Local(Location(application)) + "\\" + Local(section),
                       QSettings::NativeFormat);
#else
    QSettings settings(Local(Location(application)), QSettings::IniFormat);
    settings.beginGroup(Local(section));
#endif
    if (settings.status() == QSettings::AccessError)
        throw Failure("Cannot read the settings at " + Location(application));
    const QVariant value = settings.value(Local(key));
    if (!value.isValid()) return std::string(defaultValue);
    return Bytes(value.toString());
}

void QtSettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                  std::string_view key, std::string_view value) {
#ifdef _WIN32
    QSettings settings(Local(Location(application)) + "\\" + Local(section),
                       QSettings::NativeFormat);
#else
    const std::string path = Location(application);
    MakePrivate(path);
    QSettings settings(Local(path), QSettings::IniFormat);
    settings.beginGroup(Local(section));
#endif
    settings.setValue(Local(key), Local(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Failure("Cannot write the settings at " + Location(application));
#ifndef _WIN32
    // Kept owner-only even if something else widened it meanwhile.
    ::chmod(path.c_str(), 0600);
#endif
}

}  // namespace verrolift
