#pragma once

#include "files/Scanner.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class CommandRegistry;
class FileCommands;
class ProgramState;
class QAction;
class QPrinter;
class ShellHost;
class TMainForm;
class ToolEngine;
class ViewController;
struct AppContext;

// The File menu's exchanges with the outside: Export to / Import from Clipboard, Select Source
// and Acquire (SANE), Print and Printer Setup, and Image > Info. The dialogs are seams so that
// tests can answer them.
class TransferCommands : public QObject {
    Q_OBJECT
public:
    // Select Source: the chosen device, or nothing when cancelled.
    std::function<std::optional<QString>(const std::vector<ScanDevice>& devices,
                                         const QString& current)>
        sourceDialog;
    // Print: runs the print dialog on the printer for the current picture.
    std::function<void()> printDialog;
    // The options every scan sets on the device before it starts (tests drive SANE's test
    // device with them).
    std::vector<ScanOption> scanOptions;

    TransferCommands(TMainForm& form, AppContext& context, ProgramState& state,
                     ViewController& view, ToolEngine& engine, ShellHost& host,
                     FileCommands& files);
    ~TransferCommands() override;

    // Import starts disabled; UpdateImportEnabled asks the clipboard (the program calls it once
    // the first frame is up, the File menu and every clipboard change call it too).
    void Register(CommandRegistry& commands);
    void UpdateImportEnabled();

    void ExptoClipbClick();
    void ImpfromClipbClick();
    void SelectSource1Click();
    void Acquire1Click();
    void Print1Click();
    void PrinterSetup1Click();
    void Info1Click();

    // Waits for the scanner probe started with the commands; true when a scanner is there.
    bool WaitForScanner();
    QString Source() const { return source_; }
    QPrinter& Printer(); // made on first use

private:
    void ProbeScanner();
    void ScannerFound(bool available);
    // The picture read from outside becomes CurrentDoc: untitled, no name, its size the New
    // dialog's next one, shown and fitted.
    void TakePicture(Buffer& picture);
    void RunPrintDialog();
    std::optional<QString> RunSourceDialog(const std::vector<ScanDevice>& devices,
                                           const QString& current);

    TMainForm& form_;
    AppContext& context_;
    ProgramState& state_;
    ViewController& view_;
    ToolEngine& engine_;
    ShellHost& host_;
    FileCommands& files_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<ScannerSession> scanner_; // made by the probe
    std::vector<ScanDevice> devices_;
    std::thread probe_;
    bool probeStarted_ = false;
    QString source_;
};
