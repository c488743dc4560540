// The board maker's design rules: the removal of a document's rules of the kinds the
// wizard sets, one maker per rule kind, and the scope setters the makers share.
//
// Each maker creates an editor rule of its kind, gives it its scope, adds it to the
// board and writes its constraint; the rule stays with the document. Each returns the
// new rule's handle. A step the editor refuses raises EBoardBuildError (BoardDB_Maker.h);
// a rule that did not reach the board is destroyed then.
#pragma once

#include "classlib/Objects.h"
#include "pcb/PcbApiAbi.h"
#include "wizard/BoardDB.h"

class TPcbBoard;
class TPcbRuleExt;

// Takes the board's rules of the seven kinds below out of it (they are not destroyed),
// then adds one rule of each kind from the record: width, clearance, routing layers,
// routing corners, via style (or a maximum via count of 0 when no via style was chosen)
// and plane connect. Raises EBoardBuildError when the board keeps an old rule of those
// kinds or the editor refuses a new one.
void AddDesignRules(TPcbBoard* Board, const TBoardInfoFromUser* Info);

// Whether the wizard replaces rules of that kind.
bool IsWizardRuleKind(Byte RuleKind);

// A width given as 0 keeps the editor's value for it.
Integer AddWidthRule(TPcbBoard* Board, TCoord MinWidth, TCoord PreferredWidth,
                     TCoord MaxWidth);
Integer AddClearanceRule(TPcbBoard* Board, TCoord Gap);
// One byte per signal layer 1..32: 0 not routed, 1 and 2 the editor's routing
// directions.
Integer AddRoutingLayersRule(TPcbBoard* Board, const TRoutingLayersBlock& Layers);
Integer AddRoutingCornerRule(TPcbBoard* Board, Byte Style, TCoord FirstSize,
                             TCoord SecondSize);
// A width or hole size given as 0 keeps the editor's value for it.
Integer AddViaStyleRule(TPcbBoard* Board, const AnsiString& Name, TCoord ViaWidth,
                        TCoord HoleSize, Byte Style);
Integer AddMaxViaCountRule(TPcbBoard* Board, Integer Count);
Integer AddPlaneConnectRule(TPcbBoard* Board, const AnsiString& Name, Byte Style,
                            Integer Value1, Integer Value2, Integer Value3, Integer Value4);

// Scope setters. Each reads the rule, replaces its scope(s) and writes it back; a read
// or write the editor refuses raises EBoardBuildError.
// ResetRuleScope: the first scope becomes one whole-board entry (kind 0).
void ResetRuleScope(TPcbRuleExt* Rule);
// ResetRuleScopes: both scopes become one whole-board entry each.
void ResetRuleScopes(TPcbRuleExt* Rule);
// SetRuleScopeName: the first scope becomes one entry naming Name (kind 8), or the
// whole board (kind 0) for an empty name.
void SetRuleScopeName(TPcbRuleExt* Rule, const AnsiString& Name);

// The removal walk's callback: takes a rule of a wizard kind out of the board that
// AddDesignRules is working on, without destroying it. A rule whose kind cannot be read
// is left alone.
void RemoveOldRule(Integer RuleHandle);
