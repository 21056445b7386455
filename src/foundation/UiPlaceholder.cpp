// Placeholder until the first window lands.
namespace tessaly_ui_placeholder { int unused = 0; }
