// Placeholder until the icon library lands.
namespace twk {}
