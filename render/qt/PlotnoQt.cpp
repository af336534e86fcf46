// The QImage canvas (placeholder until the renderer lands).
