#include "tools/TransformToolSet.h"

#include <initializer_list>

TransformToolSet::TransformToolSet() {
    for (BrushScaleCommand* c :
         {&halveBoth, &halveWidth, &halveHeight, &doubleBoth, &doubleWidth, &doubleHeight})
        c->settings = &settings;
    for (BrushDragTool* t : std::initializer_list<BrushDragTool*>{
             &stretchBoth, &stretchWidth, &stretchHeight, &brushResize, &spraySize, &bendUpDown,
             &bendLeftRight, &shearUpDown, &shearLeftRight, &rotate})
        t->settings = &settings;
    stretchImage.settings = &settings;
    stretchImage.optionBar = QStringLiteral("STRETCHBAR");
    rotateImage.settings = &settings;
    rotateImage.optionBar = QStringLiteral("ROTATEBAR");
}
