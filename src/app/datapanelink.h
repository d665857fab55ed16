#pragma once

class CColumnLookup;
class CDataPane;
class CPropertiesWnd;
class CSchemaReader;
class CQuarnDoc;
class CQuarnView;
class QWidget;

// Designing with the data in sight: makes the column look-up that follows the document and
// the "Data" pane that shows it, and links them to the rest of the window: the design view
// marks the items the checks find fault with, the Properties pane offers the known columns in
// "Data Field" and a "Run Query" in the SQL editor. The look-up is owned by the pane.
CDataPane *CreateDataPane(CQuarnDoc *document, CQuarnView *view, CPropertiesWnd *properties,
                          QWidget *parent);

// The look-up behind a pane made by CreateDataPane.
CColumnLookup *LookupOf(const CDataPane *pane);

// The catalogue reader behind a pane made by CreateDataPane.
CSchemaReader *SchemaReaderOf(const CDataPane *pane);
