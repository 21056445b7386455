"""The series windows as the list scripts use them."""


def import_list(s, series, listing, label=None):
    """Data > Import Series, the text file option, the series name and the list file typed, then OK
    (a screenshot `label` just before it); returns the import window."""
    s.focus()
    s.key("alt+d", "i")
    wizard = s.wait_for_window("Import Series")
    s.focus(wizard)
    s.key("Down")  # from the workbook option to the text file option
    s.key("Tab", "ctrl+a")
    s.type_text(series)
    s.key("Tab")
    s.type_text(listing)
    if label:
        s.screenshot(label)
    s.key("Return")
    return wizard
