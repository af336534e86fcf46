// The main window (placeholder until the shell lands).
