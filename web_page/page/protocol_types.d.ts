// The page's requests and responses as types, for TypeScript's checking of the page's modules
// (web_page/README.md says what each member means). The page reaches every member through Keys.

export type TabKey = 'calc' | 'check';

export interface PressRequest {
  op: 'press';
  tab: TabKey;
  yes: boolean;
  no: boolean;
  texts: string[];
  decimal: string;
  group: string;
}

// {pair: rank} or {r1, r3} with an optional r2, under the keys of the fit's fields.
export type FitChoice = Record<string, number>;

// A grade of the part grades' list, as the settings take it.
export interface GradeValue {
  series: string;
  tolerance_pct: number;
  tcr_ppm: number;
  name: string;
}

// Each setting by its key: a number, a choice's name, a whole number as decimal text, an
// optional number (null for none), the part grades or the parts list in ohms.
export type SettingValue = string | number | boolean | null | GradeValue[] | number[];
export type SettingValues = Record<string, SettingValue>;

export interface AnalyseRequest {
  op: 'analyse';
  tab: TabKey;
  decimal: string;
  settings: SettingValues;
  fit?: FitChoice;
  synthesis?: boolean;
  yield?: boolean;
}

export interface ReportHtmlRequest extends Omit<AnalyseRequest, 'op'> {
  op: 'report_html';
  date: string;
  note?: string;
  file_name?: string;
}

// A setting read from its box's text.
export interface ReadSettingRequest {
  op: 'read_setting';
  key: string;
  text: string;
}

export type ReadSettingResponse = { value: SettingValue } | { problem: string };

export interface SaveDesignRequest extends Omit<PressRequest, 'op'> {
  op: 'save_design';
  settings?: SettingValues;
  fit?: FitChoice;
  yield?: boolean;
  note: string;
}

export type SaveDesignResponse = { file: string } | { problem: string };

export interface OpenDesignRequest {
  op: 'open_design';
  file: string;
  file_name: string;
  decimal: string;
}

export interface OpenedDesign {
  tab: TabKey;
  diode: boolean;
  texts: string[];
  settings: SettingValues;
  setting_texts: Record<string, string>;
  fit: FitChoice | null;
  yield: boolean;
  note: string;
}

export type OpenDesignResponse = OpenedDesign | { problem: string };

export type Request = PressRequest | AnalyseRequest | ReportHtmlRequest | ReadSettingRequest |
  SaveDesignRequest | OpenDesignRequest | { op: 'describe' };

export interface PressResponse {
  message: string | null;
  layout: 'yes' | 'no' | null;
  texts: Record<string, string>;
  red: string | null;
  recorded: boolean;
}

export interface Note {
  text: string;
  warning: boolean;
}

// What selecting a row fits: the fit, with the settings it takes (a grade's figures), and whether
// it is the one the request analysed.
export interface RowFit {
  fit: FitChoice;
  settings: Record<string, number>;
  fitted: boolean;
}

export interface Section {
  name: string;
  subject: string;
  header: string[];
  rows: string[][];
  flagged: [number, number][];
  notes: Note[];
  fittable: boolean;
  fits: (RowFit | null)[];
  // The yield's section only: a histogram a level.
  histograms?: Histogram[];
}

export interface Report {
  heading: string;
  design: Section;
  settings: Section;
  reason: string;
  sections: Section[];
}

export interface Mark {
  pin_v: number;
  vo: number;
  min: number;
  max: number;
  spec_low: number;
  spec_high: number;
  meets_spec: boolean;
}

export type Tick = [number, string];

export interface Plot {
  curve: [number, number][];
  marks: Mark[];
  x: [number, number];
  y: [number, number];
  x_ticks: Tick[];
  y_ticks: Tick[];
  description: string;
}

// R1 and R3 under the keys of the fit's typed fields, and R2 when the fit has its own.
export type Pair = Record<string, number>;

// A level's histogram of the yield estimate, with the spec band and the axes to draw it on.
export interface Histogram {
  title: string;
  bin_low: number;
  bin_width: number;
  counts: number[];
  inside: boolean[];
  spec_low: number;
  spec_high: number;
  x: [number, number];
  y: [number, number];
  x_ticks: Tick[];
  y_ticks: Tick[];
  description: string;
}

// The analysis of a recorded design.
export interface AnalysedResponse {
  recorded: true;
  report: Report;
  text: string;
  plot: Plot | null;
  json: object | null;
  analysed: Pair | null;
  bom_csv: string | null;
  notices: Record<string, string>;
}

export type AnalyseResponse = { recorded: false } | AnalysedResponse;

export type ReportHtmlResponse = { recorded: false } | { recorded: true; html: string };

export type Response = PressResponse | AnalyseResponse | ReportHtmlResponse | SettingsTable |
  ReadSettingResponse | SaveDesignResponse | OpenDesignResponse | { error: string };

// How far a yield estimate is: the boards simulated of all its estimates'.
export interface YieldProgress {
  boards_done: number;
  boards: number;
}

// A long request's response while it is under way.
export interface Progress {
  progress: YieldProgress;
  next: object;
}

interface FieldBase {
  id: string;
  key: string;
  label: string;
  unit: string;
  plus_minus: boolean;
  help: string;
  diode_only: boolean;
}

export interface NumberField extends FieldBase {
  kind: 'number';
  default: number | null;
  lowest: number;
  highest: number;
  decimals: number;
}

export interface ChoiceField extends FieldBase {
  kind: 'choice';
  default: string;
  choices: string[];
}

// On or off, a check box.
export interface FlagField extends FieldBase {
  kind: 'flag';
  default: boolean;
}

// A number that may be left empty; a resistance is typed as one (4k7) and read by the core.
export interface OptionalNumberField extends FieldBase {
  kind: 'optional_number';
  default: null;
  lowest: number;
  highest: number;
  decimals: number;
  resistance: boolean;
}

// A whole number, its limits and default as decimal text.
export interface WholeField extends FieldBase {
  kind: 'whole';
  default: string;
  lowest: string;
  highest: string;
}

// A list given as text, one entry a line; its default is that text.
export interface ListField extends FieldBase {
  kind: 'list';
  default: string;
}

export type Field = NumberField | ChoiceField | FlagField | OptionalNumberField | WholeField | ListField;

export interface SettingsTable {
  settings: Field[];
  fit: { rank: NumberField; typed: (NumberField | OptionalNumberField)[] };
  extension: string;
  layouts: Record<TabKey, [string, boolean, boolean][]>;
  press_layouts: Record<'yes' | 'no', [string, boolean][]>;
  design_file_bytes: number;
}

// Between the page and its worker: a request with its number, and what comes back for it.
export interface JobMessage {
  id: number;
  request: string;
  lane?: string;
}

export type WorkerMessage =
  | { ready: true }
  | { failed: string }
  | { id: number; answer: Response }
  | { id: number; progress: YieldProgress }
  | { id: number; dropped: true };
