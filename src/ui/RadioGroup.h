#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QVBoxLayout;

// A titled column of radio buttons whose captions are one list ("items", "|"-separated in the
// language files) and whose choice is an index, so window translation reaches both.
class RadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE SetItems)
    Q_PROPERTY(int currentIndex READ CurrentIndex WRITE SetCurrentIndex NOTIFY currentIndexChanged)
public:
    RadioGroup(const QString& title, const QStringList& items, int index, QWidget* parent);

    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    int CurrentIndex() const;
    void SetCurrentIndex(int index);

signals:
    void currentIndexChanged(int index);

private:
    QStringList items_;
    QButtonGroup* group_;
    QVBoxLayout* column_;
};
