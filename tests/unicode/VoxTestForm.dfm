object VoxTestForm: TVoxTestForm
  Left = 0
  Top = 0
  Width = 240
  Height = 120
  Caption = #20013#25991
  Hint = #1046#1046
  object Edit1: TVoxEdit
    Left = 8
    Top = 8
    Width = 100
    Height = 21
    TabOrder = 0
    Text = #20013#25991
  end
end
