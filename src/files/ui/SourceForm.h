#pragma once

#include "files/Scanner.h"

#include <QDialog>

#include <vector>

class Language;
class QListWidget;

// Select Source: the scanners found, the current one chosen.
class TSourceForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1600;

    TSourceForm(const Language& language, const std::vector<ScanDevice>& devices,
                const QString& current, QWidget* parent = nullptr);

    // The chosen device's name; empty when there is none.
    QString Chosen() const;
    QListWidget* List() const { return list_; }

private:
    std::vector<ScanDevice> devices_;
    QListWidget* list_;
};
