#pragma once

#include "raster/Buffer.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// Scanners through SANE. One session per program: sane_init when made, sane_exit when destroyed.
// Calls are not safe from two threads at once; the session may be made on one thread and used
// on another afterwards.

struct ScanDevice {
    QString name; // what sane_open takes, "test:0"
    QString description;
};

// An option of the device set by name before the scan; the value is read as the option's type
// wants it ("yes"/"no", a whole or decimal number, text).
using ScanOption = std::pair<QByteArray, QByteArray>;

enum class ScanResult {
    Ok,
    Cancelled,   // the device or the user stopped it: nothing to show
    DeviceError, // the device could not be opened, failed or sent nothing readable
};

class ScannerSession {
public:
    // The most lines a scan of unknown length (a hand scanner) is read to.
    static constexpr int kMaxLines = 16384;

    ScannerSession();
    ~ScannerSession();
    ScannerSession(const ScannerSession&) = delete;
    ScannerSession& operator=(const ScannerSession&) = delete;

    bool Initialised() const { return initialised_; }
    // The devices on this machine (network scanners are not probed: that takes seconds).
    std::vector<ScanDevice> Devices() const;

    // One scan from device into a packed bitmap (40-byte header, colour table, rows): grey and
    // line-art scans as 8 and 1 bits with a grey table, colour as 24 bits. 16-bit samples keep
    // their high byte. Three-pass devices send one frame per colour.
    ScanResult Acquire(const QString& device, const std::vector<ScanOption>& options,
                       QByteArray& packed) const;

private:
    bool initialised_ = false;
};
