// A layer without sources yet.
