// A fill of "G" in a comment is no code: _fill_type = "G"
void fill(Graphic &g, bool gradient)
{
    const QList<int> sizes{1, 2}; int widths[2] = {3, 4};
    g._fill_type = gradient ? QStringLiteral("G") : QString(FillCode::Solid);
    g.Set_Data_source_type(2);
    g.data_source_type = DataSourceCode::Series;
    label->setText(QStringLiteral("S")); // a letter that is no code
    if (g.data_source_type == 1 && page.Card_fill_style != QLatin1String("I"))
        return;
}

int knob(int handle, int width)
{
    const double SKTGraphicHandleWidth = 6.0; // a size, not a handle
    return handle == 3 ? width : 0;
}

bool back(const QString &load_side) { return load_side == QLatin1String("B"); }
const char *const every = "BOTH";
bool sideBySide(const QString &place) { return place == QLatin1String("B"); } // a place, no side
