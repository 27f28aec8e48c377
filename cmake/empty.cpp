// Placeholder for a folder whose sources have not landed yet.
int kzevEmptyTranslationUnit = 0;
