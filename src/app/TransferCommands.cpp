#include "app/TransferCommands.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/FileCommands.h"
#include "app/MainForm.h"
#include "app/ShellHost.h"
#include "app/ViewController.h"
#include "files/ClipboardPicture.h"
#include "files/ui/InfoForm.h"
#include "files/ui/PrintForm.h"
#include "files/ui/SourceForm.h"
#include "tools/ProgramState.h"
#include "tools/ToolEngine.h"
#include "ui/BusyCursor.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QTimer>

namespace {

const QString kErr = QStringLiteral("Err");
// Long enough for the first frame to be painted on a slow machine.
constexpr int kProbeDelayMs = 1500;

// Dialogs open centred over the image view.
void CentreOver(QWidget& dialog, TMainForm& form) {
    QWidget* view = form.ScrollBox();
    dialog.adjustSize();
    dialog.move(view->mapToGlobal(view->rect().center()) -
                QPoint(dialog.width() / 2, dialog.height() / 2));
}

} // namespace

TransferCommands::TransferCommands(TMainForm& form, AppContext& context, ProgramState& state,
                                   ViewController& view, ToolEngine& engine, ShellHost& host,
                                   FileCommands& files)
    : form_(form), context_(context), state_(state), view_(view), engine_(engine), host_(host),
      files_(files) {
    sourceDialog = [this](const std::vector<ScanDevice>& devices, const QString& current) {
        return RunSourceDialog(devices, current);
    };
    printDialog = [this] { RunPrintDialog(); };
    // Asking the print system and probing the scanners both take time the first picture should
    // not wait for: the printer is made when first used, the probe starts once the window is up.
    QTimer::singleShot(kProbeDelayMs, this, [this] { ProbeScanner(); });
}

QPrinter& TransferCommands::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setResolution(kPrintDpi);
        // With no printer installed the page goes to a PDF file.
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            printer_->setOutputFormat(QPrinter::PdfFormat);
    }
    return *printer_;
}

TransferCommands::~TransferCommands() {
    if (probe_.joinable()) probe_.join();
}

void TransferCommands::Register(CommandRegistry& commands) {
    const auto hook = [this, &commands](const char* name, auto handler) {
        commands.Register(QString::fromLatin1(name), this, handler);
    };
    hook("ExptoClipb", [this] { ExptoClipbClick(); });
    hook("ImpfromClipb", [this] { ImpfromClipbClick(); });
    hook("SelectSource1", [this] { SelectSource1Click(); });
    hook("Acquire1", [this] { Acquire1Click(); });
    hook("Print1", [this] { Print1Click(); });
    hook("PrinterSetup1", [this] { PrinterSetup1Click(); });
    hook("Info1", [this] { Info1Click(); });
    // Until the probe has found a scanner.
    for (const char* name : {"SelectSource1", "Acquire1"})
        if (QAction* a = form_.Action(QString::fromLatin1(name))) a->setEnabled(false);
    // File1Click: Import only while the clipboard offers a picture.
    if (QMenu* file = form_.Menu(QStringLiteral("File1")))
        connect(file, &QMenu::aboutToShow, this, &TransferCommands::UpdateImportEnabled);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TransferCommands::UpdateImportEnabled);
    // Asking the clipboard waits on its owner and loads the image plugins, so the program asks
    // once the first frame is up (UpdateImportEnabled); until then there is nothing to import.
    if (QAction* a = form_.Action(QStringLiteral("ImpfromClipb"))) a->setEnabled(false);
}

void TransferCommands::UpdateImportEnabled() {
    if (QAction* a = form_.Action(QStringLiteral("ImpfromClipb")))
        a->setEnabled(ClipboardHasPicture(QGuiApplication::clipboard()->mimeData()));
}

// Listing the devices can take seconds (USB buses are probed), so it runs beside start-up.
void TransferCommands::ProbeScanner() {
    if (probeStarted_) return;
    probeStarted_ = true;
    probe_ = std::thread([this] {
        auto session = std::make_unique<ScannerSession>();
        std::vector<ScanDevice> devices = session->Devices();
        const bool available = session->Initialised() && !devices.empty();
        scanner_ = std::move(session);
        devices_ = std::move(devices);
        QMetaObject::invokeMethod(
            this, [this, available] { ScannerFound(available); }, Qt::QueuedConnection);
    });
}

bool TransferCommands::WaitForScanner() {
    ProbeScanner();
    if (probe_.joinable()) probe_.join();
    return scanner_ && scanner_->Initialised() && !devices_.empty();
}

void TransferCommands::ScannerFound(bool available) {
    if (available && source_.isEmpty()) source_ = devices_.front().name;
    for (const char* name : {"SelectSource1", "Acquire1"})
        if (QAction* a = form_.Action(QString::fromLatin1(name))) a->setEnabled(available);
}

void TransferCommands::ExptoClipbClick() {
    engine_.HideFeedback();
    Buffer copy;
    const Buffer& image = state_.docs.CurrentDoc().image;
    if (!image.Empty() && !copy.Alloc({image.Width(), image.Height()})) {
        host_.MessageByKey(QStringLiteral("NoMem"), kErr, MessageCode::OkWarning);
        return;
    }
    copy.Copy(image, {0, 0}, Pixel::CopyAll);
    QGuiApplication::clipboard()->setMimeData(new ClipboardPicture(std::move(copy)));
}

void TransferCommands::TakePicture(Buffer& picture) {
    DocumentTable& docs = state_.docs;
    ImageDoc& doc = docs.CurrentDoc();
    files_.SetNewImageSize({picture.Width(), picture.Height()});
    doc.image = std::move(picture);
    doc.untitled = true;
    doc.fileName.clear();
    doc.imageNumber = 1;
    if (docs.hooks.showCurrent) docs.hooks.showCurrent(true);
    docs.UpdateFileLabel();
    view_.FitZoom();
}

void TransferCommands::ImpfromClipbClick() {
    engine_.HideFeedback(); // before the picture under the brush preview goes
    DocumentTable& docs = state_.docs;
    Buffer picture;
    DibImport result;
    {
        BusyCursor busy;
        result =
            ReadClipboardPicture(QGuiApplication::clipboard()->mimeData(), state_.backCol, picture);
    }
    if (result == DibImport::Failed) {
        host_.MessageByKey(QStringLiteral("ErrClp"), kErr, MessageCode::OkWarning);
        return;
    }
    docs.TakeUndoSnapshot(docs.CurrentDoc());
    docs.CurrentDoc().changeCount = 1;
    TakePicture(picture);
}

void TransferCommands::SelectSource1Click() {
    engine_.HideFeedback();
    if (!WaitForScanner()) return;
    if (const auto chosen = sourceDialog(devices_, source_); chosen && !chosen->isEmpty())
        source_ = *chosen;
}

void TransferCommands::Acquire1Click() {
    DocumentTable& docs = state_.docs;
    if (docs.ConfirmDiscard()) return;
    engine_.HideFeedback();
    engine_.CurrentTool()->Deactivate(engine_, nullptr);
    ScanResult scanned = ScanResult::DeviceError;
    Buffer picture;
    DibImport read = DibImport::Failed;
    {
        BusyCursor busy;
        if (WaitForScanner()) {
            QByteArray packed;
            scanned = scanner_->Acquire(source_, scanOptions, packed);
            if (scanned == ScanResult::Ok)
                read = ImportDib(std::span(reinterpret_cast<const uint8_t*>(packed.constData()),
                                           size_t(packed.size())),
                                 picture);
        }
    }
    if (scanned == ScanResult::Ok && read != DibImport::Failed) {
        docs.TakeUndoSnapshot(docs.CurrentDoc());
        docs.CurrentDoc().AddChange();
        TakePicture(picture);
    } else if (scanned != ScanResult::Cancelled) {
        host_.MessageByKey(QStringLiteral("ErrScan"), kErr, MessageCode::OkWarning);
    }
    engine_.CurrentTool()->Activate(engine_);
    engine_.RefreshToolDisplay(false, true);
}

void TransferCommands::Print1Click() {
    engine_.HideFeedback();
    printDialog();
}

void TransferCommands::RunPrintDialog() {
    const ImageDoc& doc = state_.docs.CurrentDoc();
    TPrintForm dialog(context_.language, Printer(), doc.image, state_.docs.DisplayName(doc),
                      &form_);
    dialog.log = [this](const QString& line) { context_.WriteLog(line); };
    dialog.printFailed = [this] {
        host_.MessageByKey(QStringLiteral("ErrPrn"), kErr, MessageCode::OkWarning);
    };
    dialog.pdfFileName = [&dialog](const QString& offered) {
        QFileDialog files(&dialog, dialog.windowTitle() + QStringLiteral(" (PDF)"));
        files.setObjectName(QStringLiteral("PrintFileDlg"));
        files.setOption(QFileDialog::DontUseNativeDialog, true);
        files.setAcceptMode(QFileDialog::AcceptSave);
        files.setNameFilters({QStringLiteral("PDF (*.pdf)")});
        files.setDefaultSuffix(QStringLiteral("pdf"));
        if (!offered.isEmpty()) files.selectFile(offered);
        return files.exec() == QDialog::Accepted && !files.selectedFiles().isEmpty()
                   ? files.selectedFiles().first()
                   : QString();
    };
    CentreOver(dialog, form_);
    dialog.exec();
}

void TransferCommands::PrinterSetup1Click() {
    engine_.HideFeedback();
    QPrintDialog dialog(&Printer(), &form_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

void TransferCommands::Info1Click() {
    engine_.HideFeedback();
    const ImageDoc& doc = state_.docs.CurrentDoc();
    TInfoForm dialog(context_.language, doc.fileName, doc.image, state_.brush.source, &form_);
    CentreOver(dialog, form_);
    dialog.exec();
}

std::optional<QString> TransferCommands::RunSourceDialog(const std::vector<ScanDevice>& devices,
                                                         const QString& current) {
    TSourceForm dialog(context_.language, devices, current, &form_);
    CentreOver(dialog, form_);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.Chosen();
}
