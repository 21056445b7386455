// The shape and line panels: each control writes its own field into the selected objects of the
// side being edited that have it, and sets which controls are enabled; loading fills them from one.
#pragma once

#include "panels/ui/ObjectPanel.h"

#include <QStringList>

#include <memory>

class LineTab;
class ShapeTab;

class ShapeLinePanel : public ObjectPanel
{
    Q_OBJECT
public:
    explicit ShapeLinePanel(InspectorHost &host);
    ~ShapeLinePanel() override;

    // A line fills the line page, any other object the shape page.
    void loadFrom(const SKTGraphic &graphic);
    // The pattern names the shape's pattern list offers (the window's resources).
    void setPatternNames(const QStringList &names);

    // What the shape page's check boxes and fill radios enable, before their write.
    void Shape_Border_ChkBox();
    void Shape_Fill_Chk_Box();
    void Shape_Solid_RD_Sel();
    void Shape_Gradient_RD_Sel();
    void Shape_Hatch_RD_Sel();

    ShapeTab &shapeTab() const { return *m_shape; }
    LineTab &lineTab() const { return *m_line; }

private:
    void loadShape(const SKTGraphic &graphic);
    void loadLine(const SKTGraphic &graphic);
    void connectShape();
    void connectLine();

    std::unique_ptr<ShapeTab> m_shape;
    std::unique_ptr<LineTab> m_line;
};
