// The windows of the program that the main window's commands open, by entry. Each window's own
// code fills its entry (WindowCatalog); an entry not yet filled keeps its menu item disabled.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <typeindex>
#include <unordered_map>

class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    // The start window takes the argument "N" when New opens it and answers -1 when its Exit
    // was chosen there.
    enum class Window {
        StartWizard,        // the start window; answers 1 and sets Start_Card_Option, else the program ends
        ImageLibrary,       // filled and asked through fillPictureChooser and choosePicture
        TemplateBrowser,    // File > New from Template
        Export,             // the export sheet
        ExportTemplate,     // File > Export As Template
        Print,              // the print layout window (after the printer and data checks)
        Mail,               // the send-mail window
        MailSettings,       // the e-mail settings window
        BarcodeWindow,      // the barcode properties window
        SeriesManager,      // Data > series manager
        SeriesGenerator,    // Data > generate series
        ImportWizard,       // Data > import series
        UserProfile,        // argument "F" or "B": personal details of that side; 1 when accepted
        FillUserProfile,    // argument "F" or "B": lays the accepted details onto that side
        Help,               // the help and support window
        RateUs,             // shown on the way out; a plain close while unfilled
        Share,              // Help > Share
        WebLinks,           // argument: which link ("website1".."3", "support", "reseller", "comments", ...)
        Promotion,          // argument "S", "R" or "B" (or "1".."3"): the three promotion windows
        SeriesViewer,       // argument: the series name; the values of that series, read-only
        BindingTableViewer, // the Excel binding table's rows
        GreetingText,       // filled and asked through fillGreetingChooser and chooseGreetingText
        ExportedFiles,      // filled and shown through fillExportedFiles and showExportedFiles
    };
    Q_ENUM(Window)

    using Opener = std::function<int(const QString &argument)>;

    explicit WindowRegistry(QObject *parent = nullptr) : QObject(parent) {}

    // Which pictures the image library offers: its picture categories, or the card backgrounds.
    enum class PictureShelf { Pictures, Backgrounds };
    // Which greeting texts the picker steps through.
    enum class GreetingKind { Titles, Messages };
    // Windows that hand back what the user chose; nothing after Cancel.
    using PictureChooser = std::function<std::optional<QString>(PictureShelf)>;
    using GreetingChooser = std::function<std::optional<QString>(GreetingKind)>;
    // Shows what was written (a file or folder) with a message; 1 after OK.
    using ExportedFilesShower = std::function<int(const QString &path, const QString &message)>;

    void fill(Window window, Opener opener);
    bool isFilled(Window window) const;
    // The entry's result, or fallback while it is not filled.
    int open(Window window, const QString &argument = QString(), int fallback = 0);

    // The ImageLibrary and GreetingText entries. Each answers the picture path or the text
    // chosen, or nothing after Cancel and while the entry is not filled.
    void fillPictureChooser(PictureChooser chooser);
    void fillGreetingChooser(GreetingChooser chooser);
    std::optional<QString> choosePicture(PictureShelf shelf) const;
    std::optional<QString> chooseGreetingText(GreetingKind kind) const;
    // The ExportedFiles entry; 0 while it is not filled.
    void fillExportedFiles(ExportedFilesShower shower);
    int showExportedFiles(const QString &path, const QString &message) const;

    // Dialog singletons made on first use and kept (parented to the main window by the maker).
    // A new main window has a new registry and so new dialogs.
    template <typename T, typename Make> T *instance(Make make)
    {
        QPointer<QObject> &slot = m_instances[std::type_index(typeid(T))];
        if (!slot)
            slot = make();
        return static_cast<T *>(slot.data());
    }
    // The dialog of type T once made, else null: how a caller reads what the window chose.
    template <typename T> T *existing() const
    {
        const auto it = m_instances.find(std::type_index(typeid(T)));
        return it == m_instances.end() ? nullptr : static_cast<T *>(it->second.data());
    }

signals:
    void entryFilled(WindowRegistry::Window window);

private:
    QHash<int, Opener> m_openers;
    PictureChooser m_pictureChooser;
    GreetingChooser m_greetingChooser;
    ExportedFilesShower m_exportedFiles;
    std::unordered_map<std::type_index, QPointer<QObject>> m_instances;
};
