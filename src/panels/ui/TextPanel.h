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
    // The words of `current` in the box, or none over several texts (see showWordsBox).
    void showWords(const SKTGraphic &current);
    // How many texts a write of the words box reaches: the unlocked texts selected on the side
    // being edited, counted while the controls load too.
    static int selectedTexts(InspectorHost &host);
    // Over several texts the box shows none of their words and takes no typing ("2 texts
    // selected"), as over a bound text (`bound`), and its buttons that write words wait.
    void showWordsBox(bool bound);
    // The data source's choice: a bound text's words come from its series or column (the box
    // says so), a manual one's are typed.
    void showWordsBound(bool bound);
    // Words a data-source choice put into the shown text.
    void showWordsText(const QString &words);
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
    // The typed text loses the new object's placeholder and is cut to its longest length, with a
    // word to the user when it is.
    void textDidChange();

    // The font the panel writes into the objects.
    FontDescriptor Text_font;
    // "Family ( 14.00 )".
    static QString fontDisplayText(const FontDescriptor &font);
    // The first `length` characters, one fewer when the cut would split a surrogate pair.
    static QString cutWithoutSplitting(const QString &text, int length);
    // The same, ending before the word the cut would split, when a space comes before it.
    static QString cutBeforeWord(const QString &text, int length);

    // What a change in the words box leaves: `before` as the box held the words, `after` as the
    // user's typing or pasting left them, with `added` characters typed at `position`. Words that
    // were exactly the placeholder keep only what was typed into it; past the longest length, what
    // was typed is cut before a word.
    struct TypedWords {
        QString text;
        qsizetype cursor = 0; // just after what was typed and kept
        bool shortened = false;
    };
    static TypedWords typedWords(const QString &before, const QString &after, qsizetype position,
                                 qsizetype added);
    // What the user is told when typed words were shortened to `length` characters.
    static QString shortenedMessage(qsizetype length);

    TextEditingTab &editingTab() const { return *m_editing; }
    TextPropertiesTab &propertiesTab() const { return *m_properties; }

private:
    void connectControls();
    // A field of texts alone, after whose write each text's frame grows to show all it draws.
    PanelEdits::Field textField(std::function<void(SKTGraphic &)> write) const;
    void growToFit(SKTGraphic &g) const;
    // Tells the user, once the edit is done, of each object a text grown by it now covers.
    void nameNewlyCovered(const SKTGraphic &text, const QRectF &before) const;
    // The words box into the one text selected; several texts keep their own words.
    void writeWords(const QString &name, const QObject *mergeControl = nullptr);
    // Sets the text view's contents from code, so the typing rules do not run.
    void setViewText(const QString &text);
    void insertAtSelection(const QString &text);

    std::unique_ptr<TextEditingTab> m_editing;
    std::unique_ptr<TextPropertiesTab> m_properties;
    bool m_settingText = false;
    // The words as the box last held them, and where the box's last change typed how much.
    QString m_shownText;
    qsizetype m_typedAt = 0;
    qsizetype m_typedLength = -1;
    mutable QStringList m_coverNotes; // what the edit in progress grew texts over
};
