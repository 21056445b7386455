// One card object: the flat record every kind shares (bounds, style, picture, barcode and text
// settings), its geometry, handles, key access with change notices, and its keyed archive.
#pragma once

#include "foundation/CardCodes.h"
#include "model/GraphicDrawContext.h"
#include "platform/AttributedText.h"
#include "platform/FontDescriptor.h"
#include "platform/KeyedArchiver.h"
#include "platform/Observable.h"
#include "platform/Picture.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class KeyedUnarchiver;
class QPainter;
class SKTGraphic;

using GraphicPtr = std::shared_ptr<SKTGraphic>;
using GraphicList = QList<GraphicPtr>;

// Property keys through which observers and undo watch an object.
inline const QString SKTGraphicBoundsKey = QStringLiteral("bounds");
inline const QString SKTGraphicIsDrawingFillKey = QStringLiteral("drawingFill");
inline const QString SKTGraphicFillColorKey = QStringLiteral("fillColor");
inline const QString SKTGraphicIsDrawingStrokeKey = QStringLiteral("drawingStroke");
inline const QString SKTGraphicStrokeColorKey = QStringLiteral("strokeColor");
inline const QString SKTGraphicStrokeWidthKey = QStringLiteral("strokeWidth");
inline const QString SKTGraphicXPositionKey = QStringLiteral("xPosition");
inline const QString SKTGraphicYPositionKey = QStringLiteral("yPosition");
inline const QString SKTGraphicWidthKey = QStringLiteral("width");
inline const QString SKTGraphicHeightKey = QStringLiteral("height");
inline const QString SKTGraphicDrawingBoundsKey = QStringLiteral("drawingBounds");
inline const QString SKTGraphicDrawingContentsKey = QStringLiteral("drawingContents");
inline const QString SKTGraphicKeysForValuesToObserveForUndoKey =
    QStringLiteral("keysForValuesToObserveForUndo");
inline const QString SKTGraphicCanSetDrawingFillKey = QStringLiteral("canSetDrawingFill");
inline const QString SKTGraphicCanSetDrawingStrokeKey = QStringLiteral("canSetDrawingStroke");

// Handle numbers: 0 none, 1-3 top row, 4-5 middle, 6-8 bottom row.
constexpr int SKTGraphicNoHandle = GraphicHandle::None;
constexpr double SKTGraphicHandleWidth = 6.0;
constexpr double SKTGraphicHandleHalfWidth = 3.0;

class SKTGraphic : public Archivable, public Observable
{
public:
    enum class Kind { Text, Image, Line, Shape, Signature, Barcode };

    // Tag of the constructor that leaves every field zero or absent: the start of an archive read.
    struct ZeroFields {
    };

    ~SKTGraphic() override;

    virtual Kind kind() const = 0;
    QString className() const;
    // A new object of a kind with every default of the record.
    static GraphicPtr create(Kind kind);

    // --- record (field names as stored) ---
    QRectF _bounds;
    bool _isDrawingFill = true;
    std::optional<QColor> _fillColor = QColor(255, 255, 255);
    bool _isDrawingStroke = true;
    std::optional<QColor> _strokeColor = QColor(0, 0, 0);
    double _strokeWidth = 1.0;
    std::optional<QString> _stroke_border_type = QString(BorderCode::Solid);
    std::optional<QString> _fill_type = QString(FillCode::Solid);
    std::optional<QColor> _fill_Grad_clr1 = QColor(255, 255, 255);
    std::optional<QColor> _fill_Grad_clr2 = QColor(255, 255, 255);
    double _fill_grad_angle = 0.0;
    std::optional<QColor> _fill_htch_clr = QColor(255, 255, 255);
    std::optional<QString> _fill_hatch_type = QString();
    bool _isFlippedHorizontally = false;
    bool _isFlippedVertically = false;
    bool invert_clr = false;
    bool gray_Scale = false;
    bool Sepia = false;
    float img_trnsp_val = 100.0f;
    float hue_val = 0.0f;
    float sat_val = 1.0f;
    float brt_val = 0.0f;
    float con_val = 1.0f;
    float srp_val = 0.0f;
    float ev_val = 0.0f;
    float blr_val = 0.0f;
    qint32 data_source_type = DataSourceCode::Fixed;
    float rotate_image = 0.0f;
    std::optional<QString> _file_path;
    std::optional<QString> sign_or_fingureprint = QString(SignatureCode::Signature);
    std::optional<QString> batch_list_name = QString();
    qint32 batch_list_index = 0;
    qint32 _line_ori = 0;
    qint32 _line_cap_style = 0;
    float cor_rad_val_val = 10.0f;
    float alpha_val = 100.0f;
    float alpha_val_stroke = 100.0f;
    std::optional<FontDescriptor> text_ctrl_font;
    std::optional<QColor> txt_clr;
    std::optional<AttributedText> _Text_contents;
    std::optional<QString> _shape_type = QString(ShapeCode::Rectangle);
    std::optional<Picture> _barcode_image;
    qint32 linear_or_2d = 0;
    qint32 barcode_font_index = 0;
    std::optional<QString> linear_font_val = QStringLiteral("0123");
    std::optional<QString> two_d_font_val = QStringLiteral("0123");
    std::optional<QString> header_val = QStringLiteral("HEADER");
    std::optional<QString> footer_val = QStringLiteral("FOOTER");
    qint32 show_hide_hdr = 0;
    qint32 show_hide_ftr = 0;
    qint32 show_hide_val = 0;
    qint32 show_val_on_top = 0;
    qint32 align_hdr_index = 1;
    qint32 align_ftr_index = 1;
    float linear_height_val = 0.6f;
    float linear_width_val = 20.0f;
    qint32 qr_size_val = 60;
    qint32 qr_version_index = 0;
    qint32 qr_ec_index = 0;
    qint32 pdf_hgt_val = 20;
    qint32 pdf_wdt_val = 100;
    qint32 pdf_ec_val = 2;
    qint32 dm_module_val = 2;
    qint32 dm_format_index = 0;
    qint32 dm_encoding_index = 0;
    float hdr_margin_val = 0.1f;
    float ftr_margin_val = 0.1f;
    float val_margin_val = 0.1f;
    float TB_marging_val = 0.1f;
    float LR_margin_val = 0.1f;
    std::optional<FontDescriptor> value_font_val = defaultBarcodeFont();
    std::optional<FontDescriptor> header_font_val = defaultBarcodeFont();
    std::optional<FontDescriptor> footer_font_val = defaultBarcodeFont();
    std::optional<QColor> barcode_hdr_clr_val = QColor(0, 0, 0);
    std::optional<QColor> barcode_ftr_clr_val = QColor(0, 0, 0);
    std::optional<QColor> barcode_val_clr_val = QColor(0, 0, 0);
    std::optional<QColor> barcode_back_clr_val = QColor(255, 255, 255);
    std::optional<QColor> barcode_clr_val = QColor(0, 0, 0);
    qint32 dpi_val_index = 0;
    std::optional<QString> dpi_custom_val = QStringLiteral("0");
    qint32 barcode_unit_val = 1;
    bool ctrl_is_locked = false;
    qint32 text_alignmnet = 0;
    qint32 text_transfrom_case = 0;
    float text_kerning = 0.0f;
    qint32 print_object = 0;
    std::optional<QString> control_ID = QString();
    bool excel_binding = false;
    qint32 excel_col_indx = 0;
    // The heading of that column when it was bound; the binding follows it into another workbook.
    std::optional<QString> excel_col_title;
    // A picture's own file while a series or column gives it its file: Manual gives it back.
    std::optional<QString> manual_file_path;
    // A barcode's one-part caption spread over its bars when exactly 1 (the window's Spread value).
    qint32 kerning_value = 0;
    std::optional<QString> Text_Value = QStringLiteral("Text here");
    bool ctrl_is_visible = true;
    qint32 double_star_type = 1;
    qint32 polygon_type = 1;

    static FontDescriptor defaultBarcodeFont();

    // --- single-field accessors ---
    void Set_Ctrl_Is_Visible(bool v) { ctrl_is_visible = v; }
    // A placed detail's new value written into the object already carrying its identifier: a
    // text takes a non-empty value as its words, a picture loads a file that exists; either is
    // shown again. Anything else is left as it is (a picture path that is no file is logged).
    void takePlacedValue(Kind asked, const QString &value);
    bool Is_Control_Locked() const { return ctrl_is_locked; }
    void Set_Barcode_image(const std::optional<Picture> &p) { _barcode_image = p; }
    QString Get_shape_type() const { return _shape_type.value_or(QString()); }
    void Set_Shape_Type(const QString &s) { _shape_type = s; }
    // The text storage, made on first use from Text_Value in black at Text_Ctrl_Font 14 pt.
    AttributedText &Text_contents();
    // The same text without making it: for painting, which must not change the record.
    AttributedText textContentsForDrawing() const;
    std::optional<FontDescriptor> Text_Font_value() const { return text_ctrl_font; }
    std::optional<QColor> Text_Color_Value() const { return txt_clr; }
    void Set_Excel_binding(bool v) { excel_binding = v; }
    void Set_Excel_binding_Index(qint32 v) { excel_col_indx = v; }
    void Set_Excel_binding_Column(qint32 index, const QString &heading)
    {
        excel_col_indx = index;
        excel_col_title = heading;
    }
    qint32 Get_Line_Ori() const { return _line_ori; }
    qint32 Get_Line_Cap_Style() const { return _line_cap_style; }
    void Set_Batch_List_Name(const QString &s) { batch_list_name = s; }
    QString batch_list_name_val() const { return batch_list_name.value_or(QString()); }
    void Set_Batch_List_Index(qint32 v) { batch_list_index = v; }
    qint32 batch_list_index_val() const { return batch_list_index; }
    void Set_Data_source_type(qint32 v) { data_source_type = v; }
    qint32 data_source_type_val() const { return data_source_type; }
    QString Sign_Or_FP_Val() const { return sign_or_fingureprint.value_or(QString()); }
    void Set_Sign_Or_FP(const QString &s) { sign_or_fingureprint = s; }
    void Set_Control_File_path(const QString &s) { _file_path = s; }
    QString FilePath() const { return _file_path.value_or(QString()); }
    float Get_Image_Trnsp_val() const { return img_trnsp_val; }
    float Get_Hue_val() const { return hue_val; }

    // --- geometry ---
    QRectF bounds() const { return _bounds; }
    virtual void setBounds(const QRectF &bounds);
    double xPosition() const { return _bounds.x(); }
    double yPosition() const { return _bounds.y(); }
    double width() const { return _bounds.width(); }
    double height() const { return _bounds.height(); }
    void setXPosition(double v);
    void setYPosition(double v);
    void setWidth(double v);
    void setHeight(double v);
    virtual QRectF drawingBounds() const;

    virtual int handleUnderPoint(const QPointF &point) const;
    static bool isHandleAtPoint(const QPointF &handlePoint, const QPointF &point);
    static QPointF handlePoint(const QRectF &bounds, int handle);
    virtual bool isContentsUnderPoint(const QPointF &point) const;
    virtual int resizeByMovingHandle(int handle, const QPointF &point);
    virtual void flipHorizontally() {}
    virtual void flipVertically() {}
    virtual void setFlippedHorizontally(bool v) { _isFlippedHorizontally = v; }
    virtual void setFlippedVertically(bool v) { _isFlippedVertically = v; }
    virtual bool canMakeNaturalSize() const;
    virtual void makeNaturalSize();
    virtual int creationSizingHandle() const { return GraphicHandle::LowerRight; }

    // A new object of the same kind with the defaults, taking this object's bounds and its fill
    // and border settings (the user's copy command).
    virtual GraphicPtr copy() const;
    // An exact duplicate of the whole record and the kind's own fields, with no observers: what
    // batch runs paint on worker threads.
    GraphicPtr clone() const;
    // Takes the whole record and the kind's own fields of `state` (a clone of an object of the
    // same kind), keeping this object's identity and observers: how undo puts an edit back. No
    // change notices are sent; false, and nothing taken, when the kinds differ.
    virtual bool takeStateOf(const SKTGraphic &state) = 0;

    // --- style (effective values, computed without touching the record) ---
    virtual bool isDrawingFill() const { return _isDrawingFill; }
    virtual bool isDrawingStroke() const { return _isDrawingStroke; }
    std::optional<QColor> fillColor() const;
    std::optional<QColor> strokeColor() const;
    std::optional<QColor> fill_hatch_bk_clr() const;
    std::optional<QColor> fill_Grad_clr1() const;
    std::optional<QColor> fill_Grad_clr2() const;
    double strokeWidth() const { return _strokeWidth; }
    QString strokeBorderType() const { return _stroke_border_type.value_or(QString()); }
    QString fill_type() const { return _fill_type.value_or(QString()); }
    QString fill_hatch_type() const { return _fill_hatch_type.value_or(QString()); }
    double fill_grad_angle() const { return _fill_grad_angle; }
    static double clampedOpacity(float value);
    virtual bool canSetDrawingFill() const { return true; }
    virtual bool canSetDrawingStroke() const { return true; }
    // The colour command: turns the fill on and sets its colour, both by key (undoable).
    virtual void setColor(const QColor &color);

    // --- painting (definitions live with the painters) ---
    virtual void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                                    bool isBeingCreateOrEdited) const;
    // Outline for kinds that paint a path; the base has none (an empty optional).
    virtual std::optional<QPainterPath> bezierPathForDrawing() const;
    virtual void drawHandlesInView(QPainter &painter, const GraphicDrawContext &context, bool lock_hai) const;
    void drawHandleInView(QPainter &painter, const GraphicDrawContext &context, const QPointF &point,
                          bool lock_hai) const;

    // --- key access and change notices (observation through Observable) ---
    QVariant valueForKey(const QString &key) const override;
    // Stores through the key's setter or field and notifies observers; false for an unknown key.
    bool setValueForKey(const QString &key, const QVariant &value) override;
    QStringList keyPathsForValuesAffectingValueForKey(const QString &key) const override;
    virtual QSet<QString> keysForValuesToObserveForUndo() const;
    static QString presentablePropertyNameForKey(Kind kind, const QString &key);

    // --- archive ---
    QStringList classHierarchy() const override;
    void encodeWithCoder(KeyedArchiver &coder) const override;
    virtual void initWithCoder(KeyedUnarchiver &coder);
    QByteArray archivedData() const { return KeyedArchiver::archivedObject(*this); }
    // Reads one object archive. Null with *error when it is damaged or not one of the six kinds.
    static GraphicPtr unarchive(const QByteArray &archive, QString *error = nullptr);
    static GraphicPtr unarchive(const plist::Value &archiveTree, QString *error = nullptr);
    static void registerClasses(KeyedUnarchiver &coder);

    // --- lists of objects ---
    static QRectF boundsOfGraphics(const GraphicList &graphics);
    static QRectF drawingBoundsOfGraphics(const GraphicList &graphics);
    static QRectF unionRect(const QRectF &a, const QRectF &b);
    static void translateGraphics(const GraphicList &graphics, double dx, double dy);
    // Pasteboard data: a binary property list, an array of one object archive per object.
    static QByteArray pasteboardDataWithGraphics(const GraphicList &graphics);
    static QList<QByteArray> propertiesWithGraphics(const GraphicList &graphics);
    // New objects from pasteboard data; none, with error code 2, when it is not such an array, and
    // with PasteTooManyObjects or PasteTooLargeBytes beyond the limits of a design file.
    static constexpr int PasteTooManyObjects = 4;
    static constexpr int PasteTooLargeBytes = 5;
    static std::optional<GraphicList> graphicsWithPasteboardData(const QByteArray &data,
                                                                 int *errorCode = nullptr);
    // New objects from archives, in order; an element that is no valid object archive is skipped.
    // Picture objects reload their picture when its file still exists.
    static GraphicList graphicsWithProperties(const plist::Array &archives);

protected:
    SKTGraphic(); // defaults of a new object
    explicit SKTGraphic(ZeroFields);
    // Copies the record and the kind's fields; observers are not copied (see Observable).
    SKTGraphic(const SKTGraphic &) = default;
    // Only the kinds assign, each from its own kind (takeStateOf): the observers stay.
    SKTGraphic &operator=(const SKTGraphic &) = default;
    virtual GraphicPtr cloneRecord() const = 0;
    virtual GraphicPtr makeDefault() const = 0;

    // Runs apply() between the change notices of key (and so of every key that depends on it).
    template <typename F> void changeValue(const QString &key, F &&apply)
    {
        willChangeValueForKey(key);
        apply();
        didChangeValueForKey(key);
    }

private:
    void zeroFields();
};

// Glue for the six kinds: creation, cloning and the archive class name.
template <typename Derived, SKTGraphic::Kind K> class SKTGraphicKind : public SKTGraphic
{
public:
    static constexpr Kind StaticKind = K;
    Kind kind() const override { return K; }
    bool takeStateOf(const SKTGraphic &state) override
    {
        if (state.kind() != K)
            return false;
        static_cast<Derived &>(*this) = static_cast<const Derived &>(state);
        return true;
    }

protected:
    SKTGraphicKind() = default;
    explicit SKTGraphicKind(ZeroFields z) : SKTGraphic(z) {}
    SKTGraphicKind(const SKTGraphicKind &) = default;
    GraphicPtr cloneRecord() const override
    {
        return std::make_shared<Derived>(static_cast<const Derived &>(*this));
    }
    GraphicPtr makeDefault() const override { return std::make_shared<Derived>(); }
};
