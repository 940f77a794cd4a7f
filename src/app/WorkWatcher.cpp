#include "app/WorkWatcher.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "editor/Editor.h"
#include "base/Messages.h"

WorkWatcher::WorkWatcher(Editor& ed, MainWindow& win) : QObject(&win), ed_(ed), win_(win) {
    connect(&title_, &QTimer::timeout, this, &WorkWatcher::Refresh);
    title_.start(250);
    if (ed_.settings.autosaveSeconds > 0) {
        connect(&autosave_, &QTimer::timeout, this, &WorkWatcher::AutosaveNow);
        autosave_.start(ed_.settings.autosaveSeconds * 1000);
    }
    qApp->installEventFilter(this);
    Refresh();
}

void WorkWatcher::Refresh() {
    const QString name =
        ed_.WorkFile().isEmpty() ? msg::Text(Msg::Untitled) : QFileInfo(ed_.WorkFile()).fileName();
    const QString title = name + msg::Text(Msg::WindowTitleEnd);
    if (win_.windowTitle() != title) win_.setWindowTitle(title);
    if (win_.isWindowModified() != ed_.st.Modified) win_.setWindowModified(ed_.st.Modified);
}

bool WorkWatcher::AutosaveNow() {
    // Never in the middle of a command: a dialog or a message box may be
    // waiting for an answer with the work half changed.
    if (!touched_ || !ed_.st.Modified || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget() || win_.InCommand())
        return false;
    QString error;
    if (!ed_.WriteAutosave(&error)) {
        if (!error.isEmpty()) AutosaveFailed(error);
        return false;  // still touched: the next round tries again
    }
    touched_ = false;
    if (failing_) {
        failing_ = false;
        win_.statusBar()->clearMessage();
    }
    return true;
}

void WorkWatcher::AutosaveFailed(const QString& error) {
    qWarning("autosave: %s", qPrintable(error));
    win_.statusBar()->showMessage(msg::Format(Msg::AutosaveFailedStatus, {error}));
    if (failing_) return;
    // Told once, without stopping the work: the box waits beside the window.
    failing_ = true;
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Velmot"),
                                msg::Format(Msg::AutosaveFailed, {error}), QMessageBox::Ok, &win_);
    box->setObjectName(QStringLiteral("AutosaveFailed"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool WorkWatcher::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::Drop:
            touched_ = true;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, e);
}
