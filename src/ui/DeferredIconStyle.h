#pragma once

#include <QProxyStyle>

// The platform style, except that the tool bars' and the menu bar's extension arrows are read
// when first drawn, not when the bars are made. Reading a picture of the style makes Qt load
// every image format plugin first, which would hold the first frame back; the arrows show only
// once a bar is too narrow for its buttons.
class DeferredIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
