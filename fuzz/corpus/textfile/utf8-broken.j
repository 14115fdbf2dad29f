// Ã© valid then broken Ã
í € à€€ ô€€