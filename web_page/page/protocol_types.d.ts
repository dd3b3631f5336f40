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

// {pair: rank} or {r1, r3}, under the keys of the fit's fields.
export type FitChoice = Record<string, number>;

export type SettingValues = Record<string, string | number>;

export interface AnalyseRequest {
  op: 'analyse';
  tab: TabKey;
  decimal: string;
  settings: SettingValues;
  fit?: FitChoice;
}

export type Request = PressRequest | AnalyseRequest | { op: 'describe' };

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

export interface Section {
  name: string;
  subject: string;
  header: string[];
  rows: string[][];
  flagged: [number, number][];
  notes: Note[];
  fittable: boolean;
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

// R1 and R3 under the keys of the fit's typed fields.
export type Pair = Record<string, number>;

// The analysis of a recorded design.
export interface AnalysedResponse {
  recorded: true;
  report: Report;
  text: string;
  plot: Plot | null;
  json: object | null;
  analysed: Pair | null;
}

export type AnalyseResponse = { recorded: false } | AnalysedResponse;

export type Response = PressResponse | AnalyseResponse | SettingsTable | { error: string };

// A long request's response while it is under way.
export interface Progress {
  progress: unknown;
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

export type Field = NumberField | ChoiceField;

export interface SettingsTable {
  settings: Field[];
  fit: { rank: NumberField; typed: NumberField[] };
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
  | { id: number; progress: unknown }
  | { id: number; dropped: true };
