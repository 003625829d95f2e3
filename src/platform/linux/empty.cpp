// Keeps the library non-empty while a platform folder has no sources yet.
