// The text panel: what is typed, the font, date and time, greeting texts, border, fill,
// alignment, case, kerning and opacity, each written into the selected objects of the side being
// edited that have it; loading fills both text pages from one text object.
#pragma once

#include "panels/ui/ObjectPanel.h"
#include "platform/FontDescriptor.h"

#include <memory>

class TextEditingTab;
class TextPropertiesTab;

class TextPanel : public ObjectPanel
{
    Q_OBJECT
public:
    explicit TextPanel(InspectorHost &host);
    ~TextPanel() override;

    static constexpr int MaxTypedLength = 250;
    static inline const QString Placeholder = QStringLiteral("Text here");
    static inline const QString TitleButton = QStringLiteral("Use Template Title");
    static inline const QString MessageButton = QStringLiteral("Use Template Message");

    void loadFrom(const SKTGraphic &graphic);
    // Brings the words to the front with the keyboard in them, all selected, so typing replaces
    // them (a new text's placeholder).
    void takeKeyboard();

    // Actions; those of the check boxes and radios set what the page enables, before their write.
    void Text_Border_ChkBox();
    void Text_Fill_Chk_Box();
    void Text_Solid_RD_Sel();
    void Text_Gradient_RD_Sel();
    void Text_Font_Changed();
    void Text_Insert_Date();
    void Text_Insert_Time();
    void Insert_Template_Button();
    // The typed text loses the new object's placeholder and is cut to its longest length.
    void textDidChange();

    // The font the panel writes into the objects.
    FontDescriptor Text_font;
    // "Family ( 14.00 )".
    static QString fontDisplayText(const FontDescriptor &font);
    // The first `length` characters, one fewer when the cut would split a surrogate pair.
    static QString cutWithoutSplitting(const QString &text, int length);

    TextEditingTab &editingTab() const { return *m_editing; }
    TextPropertiesTab &propertiesTab() const { return *m_properties; }

private:
    void connectControls();
    // A field of texts alone, after whose write each text's frame grows to show all it draws.
    PanelEdits::Field textField(std::function<void(SKTGraphic &)> write) const;
    void growToFit(SKTGraphic &g) const;
    // The words box into the one text selected; several texts keep their own words.
    void writeWords(const QString &name, const QObject *mergeControl = nullptr);
    // Sets the text view's contents from code, so the typing rules do not run.
    void setViewText(const QString &text);
    void insertAtSelection(const QString &text);

    std::unique_ptr<TextEditingTab> m_editing;
    std::unique_ptr<TextPropertiesTab> m_properties;
    bool m_settingText = false;
};
