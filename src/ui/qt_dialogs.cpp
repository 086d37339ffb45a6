#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

#include "base/failure.h"
#include "ui/look.h"

namespace verrolift {

namespace {

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text);
}
std::string Bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

QtDialogs::QtDialogs(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}

QWidget* QtDialogs::Parent() const {
    if (parent_) return parent_();
    return QApplication::activeWindow();
}

void QtDialogs::StopWhenEnding() const {
    if (ending_ && ending_()) throw RunAborted{};
}

void QtDialogs::ShowMessage(const std::string& text) {
    StopWhenEnding();
    ShowBox(Parent(), QMessageBox::NoIcon, ApplicationTitle(), DisplayText(text));
}

void QtDialogs::ShowErrorReport(const ErrorReport& report) {
    StopWhenEnding();
    ShowBox(Parent(), QMessageBox::Warning, Local(std::string(kErrorReportTitle)),
            DisplayText(report.Text()));
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& defaultAnswer) {
    StopWhenEnding();
    bool ok = false;
    const QString answer = QInputDialog::getText(Parent(), ApplicationTitle(), DisplayText(prompt),
                                                 QLineEdit::Normal, Local(defaultAnswer), &ok);
    return ok ? Bytes(answer) : std::string();
}

std::vector<std::string> QtDialogs::PickFiles(const std::string& title, const std::string& filter) {
    StopWhenEnding();
    const QString qtFilter = QtFileFilter(filter);
    QString first = qtFilter.section(QStringLiteral(";;"), 0, 0);
    // No starting folder: the dialog opens where it likes.
    const QStringList picked =
        QFileDialog::getOpenFileNames(Parent(), Local(title), QString(), qtFilter, &first);
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(picked.size()));
    for (const QString& path : picked) paths.push_back(Bytes(QDir::toNativeSeparators(path)));
    return paths;
}

std::string QtDialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    StopWhenEnding();
    const QString folder =
        QFileDialog::getExistingDirectory(Parent(), Local(title), Local(startFolder));
    return folder.isEmpty() ? std::string() : Bytes(QDir::toNativeSeparators(folder));
}

QString QtFileFilter(const std::string& filter) {
    QStringList parts = Local(filter).split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // The description names its patterns in parentheses: those are replaced
        // by the ones that really apply.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        entries << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString DisplayText(const std::string& text) {
    QString out = Local(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

}  // namespace verrolift
