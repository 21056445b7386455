// The card page of both sides as an edit may change it, put back through the window: both page
// settings, the card's outline and size, and the content font.
#pragma once

#include "model/EditStep.h"
#include "panels/Card_Property.h"

#include <QSizeF>

class InspectorHost;

class CardPageState : public EditState
{
public:
    explicit CardPageState(InspectorHost &host);

    std::shared_ptr<const EditState> retake() const override;
    bool changedSinceTaken() const override;
    void putBack() const override;

private:
    InspectorHost &m_host;
    Card_Property m_front;
    Card_Property m_back;
    int m_shape = 0;
    QSizeF m_size;
    FontDescriptor m_contentFont;
};
