#include "app/FilterCommands.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/ProgressDisplay.h"
#include "tools/ProgramState.h"
#include "tools/ToolEngine.h"

#include <QApplication>
#include <QFileDialog>
#include <QScrollArea>

FilterCommands::FilterCommands(TMainForm& form, AppContext& context, ProgramState& state,
                               ToolEngine& engine, ProgressDisplay* progress)
    : form_(form), context_(context), state_(state), engine_(engine), progress_(progress) {
    runDialog = [](QDialog& dialog) { dialog.exec(); };
    openName = [this](const QString& title, const QString& filter, const QString& start) {
        return QFileDialog::getOpenFileName(&form_, title, start, filter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    saveName = [this](const QString& title, const QString& filter, const QString& start,
                      const QString& extension) {
        QFileDialog dialog(&form_, title, start, filter);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(extension);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
}

void FilterCommands::Register(CommandRegistry& commands) {
    commands.Register(QStringLiteral("FilterFactory1"), this, [this] { FilterFactory1Click(); });
    commands.Register(QStringLiteral("CustomFilter1"), this, [this] { CustomFilter1Click(); });
}

bool FilterCommands::Begin(ImageRunHost& host, PreviewSession& session) {
    engine_.HideFeedback();
    ImageDoc& doc = state_.docs.CurrentDoc();
    if (doc.image.Empty() || !session.Start()) return false;
    host.session = &session;
    host.image = &doc.image;
    host.undo = &state_.docs.UndoDoc().image;
    host.workBuffer = [this]() -> Buffer& { return engine_.WorkBuffer(); };
    host.clipping = [this] { return state_.view.clipping; };
    if (progress_) {
        host.progressStart = [this] { progress_->Start(); };
        host.progressStep = [this](int percent) { progress_->Step(percent); };
        host.progressStop = [this] { progress_->Stop(); };
    }
    host.repaint = [this] { form_.ShowBuf()->update(); };
    host.enableImageArea = [this](bool on) { form_.ScrollBox()->setEnabled(on); };
    host.message = [this](const QString& key) {
        MessageByKey(QApplication::activeWindow(), context_.language, key, QStringLiteral("Err"),
                     kStyleOkWarning);
    };
    host.openName = openName;
    host.saveName = saveName;
    return true;
}

void FilterCommands::End(PreviewSession& session) {
    session.Leave();
    state_.docs.UpdateFileLabel();
    form_.ShowBuf()->update();
}

// Over the image area, at a quarter of the free space.
void FilterCommands::Show(QDialog& dialog) {
    const QRect area(form_.ScrollBox()->mapToGlobal(QPoint(0, 0)), form_.ScrollBox()->size());
    dialog.adjustSize();
    dialog.move(area.left() + (area.width() - dialog.width()) / 4,
                area.top() + (area.height() - dialog.height()) / 4);
    runDialog(dialog);
}

void FilterCommands::FilterFactory1Click() {
    PreviewSession session(PreviewSession::CurrentDocument(state_.docs));
    ImageRunHost host;
    if (!Begin(host, session)) return;
    TFFactForm dialog(context_.language, factory_, host, &form_);
    Show(dialog);
    End(session);
}

void FilterCommands::CustomFilter1Click() {
    PreviewSession session(PreviewSession::CurrentDocument(state_.docs));
    ImageRunHost host;
    if (!Begin(host, session)) return;
    TCFilterForm dialog(context_.language, custom_, host, &form_);
    Show(dialog);
    End(session);
}
