// One side of a document as the personal-details placement sees it, without a canvas: used where
// no editor window runs (the command-line harness, core tests). New objects go to the front.
#pragma once

#include "platform/Picture.h"
#include "profile/PersonalDetailsPlacement.h"

class SKTDocument;

class DocumentPlacementSide : public PersonalDetailsPlacement::Side
{
public:
    // noImage is what a new picture object shows when its photo file does not load.
    DocumentPlacementSide(SKTDocument &document, int side, Picture noImage = Picture());

    void Hide_all_Text_control_FUP_Control() override;
    GraphicPtr Selcect_Ctrl_With_ID(const QString &ctrl_ID) override;
    GraphicPtr ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect, const QRectF &bound_rect,
                                  const QString &card_side, const QString &ctrl_value,
                                  const QString &ctrl_ID) override;
    void setToolCode(int tool) override { m_tool = tool; }
    GraphicList objects() const override;
    int toolCode() const { return m_tool; }

private:
    GraphicPtr make(SKTGraphic::Kind graphicClass, const QRectF &frame, const QString &ctrl_value,
                    const QString &ctrl_ID) const;

    SKTDocument &m_document;
    int m_side;
    Picture m_noImage;
    int m_tool = 0;
};
