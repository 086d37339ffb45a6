#include "ui/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QStyle>

#include <algorithm>

#include "base/failure.h"
#include "ui/look.h"
#include "ui/window_placement.h"

namespace verrolift {

namespace {

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text);
}
std::string Bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// A box that opens centred over the window it belongs to, once its size is settled.
template <class Dialog>
class OwnedBox : public Dialog {
public:
    using Dialog::Dialog;

protected:
    void showEvent(QShowEvent* event) override {
        Dialog::showEvent(event);
        CentreOverOwner(this);
    }
};

// The widest line of text that fits the room a message box may take on the screen of
// the window it belongs to; 0 when none does.
int WidestWholeLine(const QString& text, const QFont& font, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 800;
    // As QMessageBox bounds a box: the whole screen on small ones, else less; a quarter of
    // that is left for the icon and the margins.
    const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    const int room = boxLimit * 3 / 4;
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const int width = metrics.horizontalAdvance(line);
        if (width <= room) widest = std::max(widest, width);
    }
    return widest;
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    OwnedBox<QMessageBox> box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // A message box fixes its size from its layout each time it is shown, so
    // the caption's room goes into the layout: the button row spans the box.
    if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
        const QMargins margins = box.layout() ? box.layout()->contentsMargins() : QMargins();
        buttons->setMinimumWidth(CaptionWidth(title) - margins.left() - margins.right());
    }
    // Qt breaks lines past about half the screen's width. A line that fits the room a box
    // may take is shown whole, as a run's summary must be; longer ones still wrap.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setMinimumWidth(WidestWholeLine(text, label->font(), parent));
    // Some styles put their standard icons on dialog buttons; OK is plain text here.
    for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
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
    OwnedBox<QInputDialog> dialog(Parent());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(ApplicationTitle());
    dialog.setLabelText(DisplayText(prompt));
    dialog.setTextValue(Local(defaultAnswer));
    dialog.setMinimumWidth(CaptionWidth(dialog.windowTitle()));
    if (dialog.exec() != QDialog::Accepted) return {};
    return Bytes(dialog.textValue());
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

int CaptionWidth(const QString& title) {
    // The window manager's title font is not known to the program: Qt's own
    // title-bar font, bold as active titles are often drawn, stands in for it.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QStyle* style = QApplication::style();
    const int bar = style->pixelMetric(QStyle::PM_TitleBarHeight);
    const int frame = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    // The window icon and three buttons, each about as wide as the bar is
    // high, one more bar's height of padding, and the frame on both sides.
    return QFontMetrics(font).horizontalAdvance(title) + 5 * bar + 2 * frame;
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
