// Hears a document's design notices: how many, and the settings the design held at the last one.
#pragma once

#include "model/SKTDocument.h"

namespace testsupport
{

class DesignNotices : public ChangeObserver
{
public:
    explicit DesignNotices(SKTDocument &document) : m_document(document)
    {
        m_document.addObserver(this, SKTDocumentDesignKey, {});
    }
    ~DesignNotices() override { m_document.removeAllObservers(this); }
    DesignNotices(const DesignNotices &) = delete;
    DesignNotices &operator=(const DesignNotices &) = delete;

    void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &change, void *) override
    {
        if (change.isPrior)
            return;
        ++heard;
        seen = m_document.design().settings();
    }

    int heard = 0;
    DesignSettings seen;

private:
    SKTDocument &m_document;
};

} // namespace testsupport
